#include "simulator/simulator_files.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tresk::simulator {
namespace {

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

bool makeDirectory(const std::string& path, mode_t mode) {
    if (::mkdir(path.c_str(), mode) == 0) return true;
    if (errno != EEXIST) return false;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string directory() {
    // The simulator stands in for a per-user system service, so, unlike the
    // program, it follows the user's environment.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        return std::string(data) + "/tresk-simulator";
    }
    return homeDirectory() + "/.local/share/tresk-simulator";
}

bool ensureDirectory() {
    std::string dir = directory();
    for (std::size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1)) {
        if (!makeDirectory(dir.substr(0, slash), 0755)) return false;
    }
    if (!makeDirectory(dir, 0700)) return false;
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) return false;
    // A directory that others can read would expose the database.
    if ((st.st_mode & 077) != 0 && st.st_uid == ::getuid()) return ::chmod(dir.c_str(), 0700) == 0;
    return true;
}

bool ensurePrivateFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::string keychainPath() { return directory() + "/keychain.sqlite3"; }
std::string profilePath() { return directory() + "/device.profile"; }
std::string promptLogPath() { return directory() + "/prompts.log"; }

}  // namespace tresk::simulator
