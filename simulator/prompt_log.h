// The prompts the simulated system shows: each is recorded in the prompt
// log, so tests can read the reason and count them, and answered as the
// device profile says.
#pragma once

#include <string>

#include "simulator/device.h"

namespace tresk::simulator {

enum class PromptKind { TouchID, TouchIDOrPassword, Password };

// Shows a prompt: appends it to the prompt log and returns the user's answer.
Answer prompt(const DeviceProfile& profile, PromptKind kind, const std::string& reason);

}  // namespace tresk::simulator
