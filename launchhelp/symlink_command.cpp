#include "launchhelp/symlink_command.h"

#include "text/unicode.h"

namespace tresk {
namespace {

// Text that a POSIX shell reads back unchanged without quotes.
bool isShellSafe(std::string_view candidate) { return text::regexFinds("\\A[A-Za-z0-9_./-]+\\z", candidate); }

std::string singleQuoted(std::string_view candidate) {
    std::string quoted = "'";
    for (char c : candidate) {
        if (c == '\'') quoted += "'\"'\"'";
        else quoted += c;
    }
    return quoted + "'";
}

}  // namespace

std::string makeSymlinkCommand(std::string_view executablePath, std::string_view homePath) {
    const std::string homePrefix = std::string(homePath) + "/";
    const bool shortened = executablePath.starts_with(homePrefix);
    std::string_view candidate = shortened ? executablePath.substr(homePrefix.size()) : executablePath;

    std::string target = isShellSafe(candidate) ? std::string(candidate) : singleQuoted(candidate);
    // "~/" stays outside the quotes so the shell still expands it.
    if (shortened) target = "~/" + target;
    return "ln -s " + target + " ~/.local/bin/tresk";
}

}  // namespace tresk
