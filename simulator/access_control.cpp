#include "simulator/access_control.h"

#include <cstdint>

#include "simulator/prompt_log.h"

namespace tresk::simulator {

OSStatus authorise(const StoredItem& item, const DeviceProfile& device, const std::string& reason,
                   std::string& problem) {
    // A flag this Mac does not model asks for something it cannot check:
    // nothing is released, and nobody is asked.
    constexpr std::uint32_t modelled =
        accessControlFlag::userPresence | accessControlFlag::biometryAny | accessControlFlag::biometryCurrentSet;
    if (item.accessFlags & ~modelled) return status::authFailed;
    const bool biometryReady = device.biometry != Biometry::None && device.enrolled;
    PromptKind kind;
    if (item.accessFlags & (accessControlFlag::biometryAny | accessControlFlag::biometryCurrentSet)) {
        // A biometric item cannot be released without the biometry it was bound to.
        if (!biometryReady) return status::authFailed;
        if ((item.accessFlags & accessControlFlag::biometryCurrentSet) && item.enrollment != device.enrollment) {
            return status::authFailed;
        }
        kind = PromptKind::TouchID;
    } else if (item.accessFlags & accessControlFlag::userPresence) {
        if (biometryReady) kind = PromptKind::TouchIDOrPassword;
        else if (device.loginPassword) kind = PromptKind::Password;
        else return status::authFailed;
    } else {
        return status::success;  // unprotected
    }
    if (auto unrecorded = recordPrompt(kind, reason)) {
        problem = "the prompt could not be recorded: " + *unrecorded;
        return status::notAvailable;
    }
    return device.answer == Answer::Approve ? status::success : status::userCanceled;
}

}  // namespace tresk::simulator
