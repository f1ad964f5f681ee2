// The LocalAuthentication seam: fresh authentication contexts (LAContext)
// for the pre-check.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tresk {

enum class LocalAuthenticationPolicy : int {
    DeviceOwnerAuthenticationWithBiometrics = 1,
    DeviceOwnerAuthentication = 2,
};

enum class BiometryType { None, TouchID, Other };

struct PolicyEvaluation {
    bool canEvaluate = false;
    std::optional<std::string> errorDescription;  // localizedDescription, when an error came back
};

// An authentication context for the pre-check of add: it answers whether a
// policy can be satisfied on this Mac, and never reaches an item. (A read's
// prompt travels in its query: see AuthenticationPrompt.)
class AuthenticationContext {
public:
    virtual ~AuthenticationContext() = default;
    virtual PolicyEvaluation canEvaluatePolicy(LocalAuthenticationPolicy policy) = 0;
    // Meaningful only after canEvaluatePolicy answered yes for biometrics.
    virtual BiometryType biometryType() = 0;
};

class LocalAuthentication {
public:
    virtual ~LocalAuthentication() = default;
    virtual std::shared_ptr<AuthenticationContext> createContext() = 0;
};

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication();

}  // namespace tresk
