// The simulated Keychain's statuses with their texts: its own words, in
// place of the system's, given with the status so the text is always the
// text of that status.
#pragma once

#include "common/problem.h"
#include "store/keychain/keychain.h"

namespace tresk::simulator {

// The status with the simulator's text for it; success has none.
KeychainStatus withText(OSStatus status);

// errSecNotAvailable, with what made the keychain unavailable.
KeychainStatus unavailable(const Problem& problem);

inline bool failed(const KeychainStatus& answer) { return answer.status != status::success; }

}  // namespace tresk::simulator
