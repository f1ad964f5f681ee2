// The simulated LAContext; the simulated Keychain reads its reason when a
// read needs the user.
#pragma once

#include <string>

#include "store/keychain/local_authentication.h"

namespace tresk::simulator {

class SimulatedContext final : public AuthenticationContext {
public:
    PolicyEvaluation canEvaluatePolicy(LocalAuthenticationPolicy policy) override;
    BiometryType biometryType() override { return biometryType_; }
    void setLocalizedReason(const std::string& reason) override { reason_ = reason; }
    // No earlier match is modelled: every protected read prompts.
    void setTouchIDAuthenticationAllowableReuseDuration(double) override {}
    void invalidate() override { invalidated_ = true; }

    const std::string& reason() const { return reason_; }
    bool invalidated() const { return invalidated_; }

private:
    std::string reason_;
    bool invalidated_ = false;
    BiometryType biometryType_ = BiometryType::None;  // known only after a biometric evaluation
};

}  // namespace tresk::simulator
