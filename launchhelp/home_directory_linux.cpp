#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

#include <pwd.h>
#include <unistd.h>

#include "launchhelp/symlink_command.h"

namespace tresk {

std::string homeDirectoryPath() {
    // The password database, as the desktop would see it, not $HOME.
    const passwd* pw = ::getpwuid(::getuid());
    std::string home = pw && pw->pw_dir ? pw->pw_dir : "/";
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(home.c_str(), nullptr), &std::free);
    if (resolved) home = resolved.get();
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return home;
}

}  // namespace tresk
