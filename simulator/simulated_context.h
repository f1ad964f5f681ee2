// The simulated LAContext of the pre-check: what the simulated Mac offers.
#pragma once

#include "store/keychain/local_authentication.h"

namespace tresk::simulator {

class SimulatedContext final : public AuthenticationContext {
public:
    PolicyEvaluation canEvaluatePolicy(LocalAuthenticationPolicy policy) override;
    BiometryType biometryType() override { return biometryType_; }

private:
    BiometryType biometryType_ = BiometryType::None;  // known only after a biometric evaluation
};

}  // namespace tresk::simulator
