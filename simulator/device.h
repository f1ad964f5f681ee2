// The simulated Mac: what authentication it offers and how its user answers.
#pragma once

#include <optional>
#include <string>

#include "common/problem.h"

namespace tresk::simulator {

enum class Biometry { TouchID, FaceID, None };
enum class Answer { Approve, Cancel };
// How the keychain answers a read of a build without the access-group
// entitlement: refused (-34018), or, as since macOS 26.5, found empty (-25300).
enum class UnentitledReads { Refused, NotFound };

struct DeviceProfile {
    Biometry biometry = Biometry::TouchID;
    bool enrolled = true;        // a finger (or face) is enrolled
    bool loginPassword = true;
    Answer answer = Answer::Approve;
    bool entitlementMissing = false;
    UnentitledReads unentitledReads = UnentitledReads::Refused;
    std::string enrollment = "1";  // names the current enrolled set; change it to model re-enrollment
};

// The profile file, or the default Mac when there is none; the problem when
// the file cannot be read or trusted, or holds a line it does not understand.
Expected<DeviceProfile> loadProfile();
Expected<DeviceProfile> parseProfile(const std::string& text);

}  // namespace tresk::simulator
