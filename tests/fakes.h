// Scripted stand-ins for the platform services, recording what was asked.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/commands.h"

namespace tresk::testing {

// Inside a death test the child's calls are lost with it; a forbidden call
// ends the child with its own status and text, which the test then sees.
[[noreturn]] inline void forbiddenCall(const char* call) {
    std::fprintf(stderr, "forbidden call: %s\n", call);
    std::_Exit(3);
}

class FakeLocalAuthentication final : public LocalAuthentication {
public:
    bool forbidden = false;  // asking ends the process (see forbiddenCall)
    PolicyEvaluation answer{true, std::nullopt};
    BiometryType biometry = BiometryType::TouchID;  // given, as the system does, after a yes for biometrics
    std::vector<LocalAuthenticationPolicy> asked;

    PolicyEvaluation evaluate(LocalAuthenticationPolicy policy) override {
        if (forbidden) forbiddenCall("evaluate");
        asked.push_back(policy);
        PolicyEvaluation evaluation = answer;
        const bool biometric = policy == LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics;
        evaluation.biometry = evaluation.canEvaluate && biometric ? biometry : BiometryType::None;
        return evaluation;
    }
};

class FakeKeychain final : public Keychain {
public:
    bool forbidden = false;  // any call ends the process (see forbiddenCall)
    OSStatus status = status::success;
    PropertyList result;
    std::optional<std::string> accessControlProblem;  // set: creation fails with it
    std::map<OSStatus, std::string> statusTexts;       // the platform's texts; other statuses have none
    std::vector<std::string> calls;
    std::vector<KeychainQuery> queries;
    std::vector<Attribute> readAttributes;  // of the last copyMatching

    KeychainStatus add(const KeychainQuery& q) override { return record("add", q); }
    CopyResult copyMatching(const KeychainQuery& q, std::span<const Attribute> read) override {
        readAttributes.assign(read.begin(), read.end());
        return {record("copyMatching", q), result};
    }
    KeychainStatus remove(const KeychainQuery& q) override { return record("remove", q); }
    Expected<AccessControl> createAccessControl(std::uint32_t flags) override {
        if (forbidden) forbiddenCall("createAccessControl");
        calls.push_back("createAccessControl:" + std::to_string(flags));
        if (accessControlProblem) return Problem{*accessControlProblem};
        return AccessControl{flags, {}};
    }
    bool entitled = true;  // the signature carries the access group
    bool hasAccessGroupEntitlement() override { return entitled; }
    KeychainStatus describe(OSStatus s) override { return {s, text(s)}; }

private:
    KeychainStatus record(const char* call, const KeychainQuery& q) {
        if (forbidden) forbiddenCall(call);
        calls.push_back(call);
        queries.push_back(q);
        if (status == status::success) return {};
        return {status, text(status)};
    }
    std::optional<std::string> text(OSStatus s) const {
        auto found = statusTexts.find(s);
        return found == statusTexts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
};

class FakeConsole final : public Console {
public:
    bool terminal = false;
    std::string input;
    std::string output;
    std::string confirmations;
    int reads = 0;

    bool inputIsTerminal() override { return terminal; }
    Bytes readInputToEnd() override {
        ++reads;
        return Bytes::copyOf(input);
    }
    void writeOutput(std::span<const std::uint8_t> bytes) override { output.append(bytes.begin(), bytes.end()); }
    void writeConfirmation(std::string_view text) override { confirmations += text; }
};

// The command of that word run as the entry point runs it.
inline void runCommand(std::string_view word, const std::optional<std::string>& key, Services& services,
                       AuthenticationPolicy policy = AuthenticationPolicy::biometryAny) {
    const Command* command = findCommand(word);
    if (!command) forbiddenCall("a command that does not exist");
    command->run(*command, CommandInput{key, policy}, services);
}

// One set of fakes wired as the commands expect them.
struct Fakes {
    FakeKeychain keychain;
    FakeLocalAuthentication localAuthentication;
    FakeConsole console;
    Services services{keychain, localAuthentication, console};
};

}  // namespace tresk::testing
