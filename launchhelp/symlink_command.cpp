#include "launchhelp/symlink_command.h"

#include <cstddef>

namespace tresk {
namespace {

// Text that a POSIX shell reads back unchanged without quotes.
bool isShellSafe(std::string_view candidate) {
    constexpr std::string_view safe = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_./-";
    return !candidate.empty() && candidate.find_first_not_of(safe) == std::string_view::npos;
}

std::string singleQuoted(std::string_view candidate) {
    std::string quoted = "'";
    for (char c : candidate) {
        if (c == '\'') quoted += "'\"'\"'";
        else quoted += c;
    }
    return quoted + "'";
}

}  // namespace

bool isTranslocated(std::string_view executablePath) {
    // A whole component of that name: the system's mount point, never a
    // folder whose name only begins so.
    for (std::size_t begin = 0; begin < executablePath.size();) {
        std::size_t end = executablePath.find('/', begin);
        if (end == std::string_view::npos) end = executablePath.size();
        if (executablePath.substr(begin, end - begin) == "AppTranslocation") return true;
        begin = end + 1;
    }
    return false;
}

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
