// A Keychain query as the program builds it: attribute key to value. Each
// platform converts it at the call (CFDictionary on macOS, SQL in the simulator).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "common/bytes.h"
#include "store/keychain/keychain_constants.h"

namespace tresk {

enum class Attribute {
    Class,                      // kSecClass
    UseDataProtectionKeychain,  // kSecUseDataProtectionKeychain
    Synchronizable,             // kSecAttrSynchronizable
    Service,                    // kSecAttrService
    Account,                    // kSecAttrAccount
    ValueData,                  // kSecValueData
    AccessControl,              // kSecAttrAccessControl
    ReturnData,                 // kSecReturnData
    ReturnAttributes,           // kSecReturnAttributes
    MatchLimit,                 // kSecMatchLimit
    UseAuthenticationContext,   // kSecUseAuthenticationContext
};

enum class Constant {
    ClassGenericPassword,  // kSecClassGenericPassword
    MatchLimitOne,         // kSecMatchLimitOne
    MatchLimitAll,         // kSecMatchLimitAll
};

// The access-control object an item is added with, as Keychain::
// createAccessControl made it: its flags, which the simulated platform goes
// by, and the platform's own object (a SecAccessControlRef on macOS, whose
// Keychain checks its type before use; none in the simulation).
struct AccessControl {
    std::uint32_t flags = 0;  // SecAccessControlCreateFlags
    std::shared_ptr<const void> platformObject;
    friend bool operator==(const AccessControl&, const AccessControl&) = default;
};

// What the system's authentication prompt for a read names, and how long an
// earlier Touch ID match may stand in for it. Each Keychain makes its own
// authentication context from it (an LAContext on macOS), for that call only.
struct AuthenticationPrompt {
    std::string reason;
    double touchIDReuseSeconds = 0;
    friend bool operator==(const AuthenticationPrompt&, const AuthenticationPrompt&) = default;
};

// The names under which the Security framework returns an item's service
// and account in an attribute dictionary: the values of kSecAttrService and
// kSecAttrAccount, which the macOS tests hold them to.
inline constexpr std::string_view serviceAttributeName = "svce";
inline constexpr std::string_view accountAttributeName = "acct";

using QueryValue = std::variant<std::string, bool, Bytes, Constant, AccessControl, AuthenticationPrompt>;

// Setting a key again replaces its value.
using KeychainQuery = std::map<Attribute, QueryValue>;

}  // namespace tresk
