// Every text the program writes to a stream, defined once.
#pragma once

#include <string>
#include <string_view>

namespace tresk::messages {

inline constexpr std::string_view usageFixedText =
    " COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  add NAMESPACE/KEY [--policy POLICY]  (stdin: value)\n"
    "  get NAMESPACE/KEY\n"
    "  delete NAMESPACE/KEY\n"
    "  list\n"
    "\n"
    "Policies:\n"
    "  biometryAny         Touch ID; survives enrollment changes (default)\n"
    "  biometryCurrentSet  Touch ID; enrollment changes invalidate access\n"
    "  userPresence        Touch ID or Mac login password\n";

inline constexpr std::string_view errorPrefix = "Error: ";
inline constexpr std::string_view unknownError = "Unknown error";
inline constexpr std::string_view entitlementHint =
    "; run the signed executable inside its provisioned .app bundle (see BUILD.md)";

// front end
inline constexpr std::string_view policyOnlyForAdd = "Only add accepts --policy POLICY, after NAMESPACE/KEY.";
inline constexpr std::string_view unknownPolicy =
    "Unknown policy. Use biometryAny, biometryCurrentSet, or userPresence.";
inline std::string unknownCommand(std::string_view action) {
    return "Unknown command '" + std::string(action) + "'.";
}

// identity
inline constexpr std::string_view executableNotFound = "Could not locate the running executable.";
inline constexpr std::string_view versionMetadataMissing =
    "Version metadata missing; run the signed executable inside its built .app bundle.";

// commands
inline constexpr std::string_view invalidKey = "Invalid NAMESPACE/KEY.";
inline constexpr std::string_view valueFromTerminal = "Value must be provided via stdin (pipe or redirection).";
inline constexpr std::string_view valueEmpty = "No value provided via stdin.";
inline constexpr std::string_view authenticationUnavailable = "Authentication unavailable";
inline std::string policyUnavailable(std::string_view policy, std::string_view reason) {
    return std::string(policy) + " unavailable: " + std::string(reason);
}
inline std::string touchIDRequired(std::string_view policy) {
    return "Touch ID must be available and enrolled for " + std::string(policy) + ".";
}
inline std::string accessControlFailed(std::string_view policy, std::string_view error) {
    return "Failed to create " + std::string(policy) + " access control: " + std::string(error);
}
inline constexpr std::string_view keyExists = "Key already exists.";
inline constexpr std::string_view addFailed = "Failed to add key.";
inline constexpr std::string_view keyAdded = "Key added successfully.\n";
inline constexpr std::string_view keyNotFound = "Key not found.";
inline constexpr std::string_view authenticationCanceled = "Authentication canceled.";
inline constexpr std::string_view retrieveFailed = "Failed to retrieve value.";
inline constexpr std::string_view unexpectedData = "Keychain returned unexpected data.";
inline constexpr std::string_view deleteFailed = "Failed to delete key.";
inline constexpr std::string_view keyDeleted = "Key deleted successfully.\n";
inline constexpr std::string_view listTakesNoKey =
    "list does not accept NAMESPACE/KEY. Use tresk list to list all keys.";
inline constexpr std::string_view listFailed = "Failed to list keys.";
inline std::string unlockReason(std::string_view service, std::string_view account) {
    return "Unlock " + std::string(service) + "/" + std::string(account);
}

// anywhere: a value larger than the memory the process may have
inline constexpr std::string_view outOfMemory = "Out of memory.";

// streams: a value that never arrived must not look delivered
inline std::string readFailed(std::string_view reason) {
    return "Could not read standard input: " + std::string(reason);
}
inline std::string writeFailed(std::string_view reason) {
    return "Could not write to standard output: " + std::string(reason);
}

}  // namespace tresk::messages
