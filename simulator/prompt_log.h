// The prompts the simulated system shows: each is recorded in the prompt
// log, one line of its own, so tests can read the reason and count them. A
// prompt that cannot be recorded is not shown.
#pragma once

#include <string>

#include "common/problem.h"

namespace tresk::simulator {

enum class PromptKind { TouchID, TouchIDOrPassword, Password };

// Appends "KIND<TAB>REASON" to the prompt log, or says why it cannot.
Expected<void> recordPrompt(PromptKind kind, const std::string& reason);

// The reason as the log holds it: a backslash doubled, every control
// character as a visible escape, so no reason can forge a record.
std::string loggedReason(const std::string& reason);

}  // namespace tresk::simulator
