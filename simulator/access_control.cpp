#include "simulator/access_control.h"

#include <cstdint>

#include "simulator/prompt_log.h"
#include "simulator/status_texts.h"

namespace tresk::simulator {

KeychainStatus authorise(const ItemRow& item, const DeviceProfile& device, const std::string& reason) {
    // A flag this Mac does not model asks for something it cannot check:
    // nothing is released, and nobody is asked.
    constexpr std::uint32_t modelled =
        accessControlFlag::userPresence | accessControlFlag::biometryAny | accessControlFlag::biometryCurrentSet;
    if (item.accessFlags & ~modelled) return withText(status::authFailed);
    const bool biometryReady = device.biometry != Biometry::None && device.enrolled;
    PromptKind kind;
    if (item.accessFlags & (accessControlFlag::biometryAny | accessControlFlag::biometryCurrentSet)) {
        // A biometric item cannot be released without the biometry it was bound to.
        if (!biometryReady) return withText(status::authFailed);
        if ((item.accessFlags & accessControlFlag::biometryCurrentSet) && item.enrollment != device.enrollment) {
            return withText(status::authFailed);
        }
        kind = PromptKind::TouchID;
    } else if (item.accessFlags & accessControlFlag::userPresence) {
        if (biometryReady) kind = PromptKind::TouchIDOrPassword;
        else if (device.loginPassword) kind = PromptKind::Password;
        else return withText(status::authFailed);
    } else {
        return {};  // unprotected
    }
    if (auto recorded = recordPrompt(kind, reason); !recorded) {
        return unavailable({"the prompt could not be recorded: " + recorded.problem().text});
    }
    return device.answer == Answer::Approve ? KeychainStatus{} : withText(status::userCanceled);
}

}  // namespace tresk::simulator
