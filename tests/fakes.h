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

class FakeContext final : public AuthenticationContext {
public:
    PolicyEvaluation answer{true, std::nullopt};
    BiometryType biometry = BiometryType::TouchID;
    std::vector<LocalAuthenticationPolicy> asked;
    std::string reason;
    double reuse = -1;
    int invalidations = 0;

    PolicyEvaluation canEvaluatePolicy(LocalAuthenticationPolicy policy) override {
        asked.push_back(policy);
        return answer;
    }
    BiometryType biometryType() override { return biometry; }
    void setLocalizedReason(const std::string& r) override { reason = r; }
    void setTouchIDAuthenticationAllowableReuseDuration(double s) override { reuse = s; }
    void invalidate() override { ++invalidations; }
};

class FakeLocalAuthentication final : public LocalAuthentication {
public:
    bool forbidden = false;  // creating a context ends the process (see forbiddenCall)
    PolicyEvaluation answer{true, std::nullopt};
    BiometryType biometry = BiometryType::TouchID;
    std::vector<std::shared_ptr<FakeContext>> created;

    std::shared_ptr<AuthenticationContext> createContext() override {
        if (forbidden) forbiddenCall("createContext");
        auto context = std::make_shared<FakeContext>();
        context->answer = answer;
        context->biometry = biometry;
        created.push_back(context);
        return context;
    }
};

struct FakeAccessControl final : AccessControlObject {
    explicit FakeAccessControl(std::uint32_t f) : flags(f) {}
    std::uint32_t flags;
};

class FakeKeychain final : public Keychain {
public:
    bool forbidden = false;  // any call ends the process (see forbiddenCall)
    OSStatus status = status::success;
    PropertyList result;
    std::optional<std::optional<std::string>> accessControlError;  // set: creation fails
    std::vector<std::string> calls;
    std::vector<KeychainQuery> queries;

    OSStatus add(const KeychainQuery& q) override { return record("add", q); }
    std::vector<Attribute> readAttributes;  // of the last copyMatching
    CopyResult copyMatching(const KeychainQuery& q, std::span<const Attribute> read) override {
        readAttributes.assign(read.begin(), read.end());
        return {record("copyMatching", q), result};
    }
    OSStatus remove(const KeychainQuery& q) override { return record("remove", q); }
    AccessControlResult createAccessControl(std::uint32_t flags) override {
        if (forbidden) forbiddenCall("createAccessControl");
        calls.push_back("createAccessControl:" + std::to_string(flags));
        if (accessControlError) return *accessControlError;
        return std::make_shared<const FakeAccessControl>(flags);
    }
    std::string attributeName(Attribute a) override { return a == Attribute::Service ? "svce" : "acct"; }
    std::map<OSStatus, std::string> statusTexts;  // the platform's messages; others have none
    std::optional<std::string> statusMessage(OSStatus s) override {
        auto it = statusTexts.find(s);
        if (it == statusTexts.end()) return std::nullopt;
        return it->second;
    }

private:
    OSStatus record(const char* call, const KeychainQuery& q) {
        if (forbidden) forbiddenCall(call);
        calls.push_back(call);
        queries.push_back(q);
        return status;
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

// One set of fakes wired as the commands expect them.
struct Fakes {
    FakeKeychain keychain;
    FakeLocalAuthentication localAuthentication;
    FakeConsole console;
    Services services{keychain, localAuthentication, console};
};

}  // namespace tresk::testing
