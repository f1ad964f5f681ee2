#include <memory>
#include <optional>
#include <string>

#include "simulator/device.h"
#include "simulator/simulated_context.h"

namespace tresk {
namespace simulator {

PolicyEvaluation SimulatedContext::canEvaluatePolicy(LocalAuthenticationPolicy policy) {
    auto loaded = loadProfile();
    if (!loaded) return {false, "The simulated device is unusable: " + loaded.problem().text + "."};
    const DeviceProfile& device = *loaded;
    const bool hasBiometry = device.biometry != Biometry::None;

    if (policy == LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics) {
        if (!hasBiometry) return {false, "This Mac has no biometric sensor."};
        if (!device.enrolled) {
            return {false, device.biometry == Biometry::TouchID ? "No fingerprint is enrolled in Touch ID."
                                                                : "No face is enrolled."};
        }
        biometryType_ = device.biometry == Biometry::TouchID ? BiometryType::TouchID : BiometryType::Other;
        return {true, std::nullopt};
    }
    if (device.loginPassword || (hasBiometry && device.enrolled)) return {true, std::nullopt};
    return {false, "No login password is set on this Mac."};
}

}  // namespace simulator

namespace {

class SimulatedLocalAuthentication final : public LocalAuthentication {
public:
    std::shared_ptr<AuthenticationContext> createContext() override {
        return std::make_shared<simulator::SimulatedContext>();
    }
};

}  // namespace

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication() {
    return std::make_unique<SimulatedLocalAuthentication>();
}

}  // namespace tresk
