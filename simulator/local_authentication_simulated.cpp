// LocalAuthentication on Linux: the pre-check answers what the simulated Mac
// offers.
#include <memory>
#include <optional>
#include <string>

#include "simulator/device.h"
#include "store/keychain/local_authentication.h"

namespace tresk {
namespace {

using namespace simulator;

class SimulatedLocalAuthentication final : public LocalAuthentication {
public:
    PolicyEvaluation evaluate(LocalAuthenticationPolicy policy) override {
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
            return {true, std::nullopt, device.biometry == Biometry::TouchID ? BiometryType::TouchID : BiometryType::Other};
        }
        if (device.loginPassword || (hasBiometry && device.enrolled)) return {true, std::nullopt};
        return {false, "No login password is set on this Mac."};
    }
};

}  // namespace

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication() {
    return std::make_unique<SimulatedLocalAuthentication>();
}

}  // namespace tresk
