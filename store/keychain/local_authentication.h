// The LocalAuthentication seam: fresh authentication contexts (LAContext).
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

class AuthenticationContext {
public:
    virtual ~AuthenticationContext() = default;
    virtual PolicyEvaluation canEvaluatePolicy(LocalAuthenticationPolicy policy) = 0;
    virtual BiometryType biometryType() = 0;
    virtual void setLocalizedReason(const std::string& reason) = 0;
    virtual void setTouchIDAuthenticationAllowableReuseDuration(double seconds) = 0;
    virtual void invalidate() = 0;
};

class LocalAuthentication {
public:
    virtual ~LocalAuthentication() = default;
    virtual std::shared_ptr<AuthenticationContext> createContext() = 0;
};

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication();

}  // namespace tresk
