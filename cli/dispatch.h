// What a run is, decided from the argument vector alone (plus the desktop
// launch test when the user gave no arguments) and the command table.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/commands.h"
#include "store/policy.h"

namespace tresk {

// The front end's values, written once before dispatch: `program` and
// `showingHelp` serve the usage text, `action` finds the command, and the
// command is handed `key` and `policy` (its CommandInput).
struct Invocation {
    std::string program;
    bool showingHelp = false;
    std::string action;
    std::optional<std::string> key;
    AuthenticationPolicy policy = AuthenticationPolicy::biometryAny;
};

enum class Outcome {
    LaunchHelp,     // the desktop dialog; status 0
    Version,        // version line on standard output; status 0
    Usage,          // asked for (showingHelp): standard output, status 0; else standard error, status 1
    ErrorLine,      // `message` as an error line; status 1
    Command,        // run `command`
};

struct Decision {
    Outcome outcome;
    Invocation invocation;
    std::string message;               // for ErrorLine
    const Command* command = nullptr;  // for Command: the table's entry for `invocation.action`
};

// `arguments` holds element 0 onwards, as the bytes were given.
Decision decide(const std::vector<std::string>& arguments, const std::function<bool()>& launchedFromDesktop);

// The last path component of element 0, as a file URL would give it.
std::string programName(std::string_view path);

std::string usageText(std::string_view program);

}  // namespace tresk
