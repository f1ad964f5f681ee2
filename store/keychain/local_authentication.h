// The LocalAuthentication seam: the pre-check of add asks a fresh
// authentication context (LAContext) whether a policy can be satisfied on
// this Mac. The context serves that question only and never reaches an
// item. (A read's prompt travels in its query: see AuthenticationPrompt.)
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tresk {

enum class LocalAuthenticationPolicy { DeviceOwnerAuthenticationWithBiometrics, DeviceOwnerAuthentication };

enum class BiometryType { None, TouchID, Other };

// What the context answered.
struct PolicyEvaluation {
    bool canEvaluate = false;
    std::optional<std::string> errorDescription;  // localizedDescription, when an error came back
    // Its biometryType, which means something only once the biometric policy
    // was answered yes; None otherwise.
    BiometryType biometry = BiometryType::None;
};

class LocalAuthentication {
public:
    virtual ~LocalAuthentication() = default;
    virtual PolicyEvaluation evaluate(LocalAuthenticationPolicy policy) = 0;
};

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication();

}  // namespace tresk
