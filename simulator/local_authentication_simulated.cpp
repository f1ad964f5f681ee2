// LocalAuthentication on Linux: the pre-check's contexts answer what the
// simulated Mac offers.
#include <memory>
#include <optional>
#include <string>

#include "simulator/device.h"
#include "store/keychain/local_authentication.h"

namespace tresk {
namespace {

using namespace simulator;

class SimulatedContext final : public AuthenticationContext {
public:
    PolicyEvaluation canEvaluatePolicy(LocalAuthenticationPolicy policy) override {
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

    BiometryType biometryType() override { return biometryType_; }

private:
    BiometryType biometryType_ = BiometryType::None;  // known only after a biometric evaluation
};

class SimulatedLocalAuthentication final : public LocalAuthentication {
public:
    std::shared_ptr<AuthenticationContext> createContext() override { return std::make_shared<SimulatedContext>(); }
};

}  // namespace

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication() {
    return std::make_unique<SimulatedLocalAuthentication>();
}

}  // namespace tresk
