#include "simulator/simulator_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/bounded_file.h"
#include "common/descriptor.h"

namespace tresk::simulator {
namespace {

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

Problem failed(const std::string& what, const std::string& path, int error) {
    return {what + " " + path + " (" + std::strerror(error) + ")", error};
}

// Trusted when it is the user's own; then made private: what others may do
// is taken away, what the user took from himself (writing, say) is not given
// back.
Expected<void> trust(int fd, const struct stat& st, const std::string& path) {
    if (st.st_uid != ::geteuid()) return Problem{path + " belongs to another user"};
    const mode_t mode = st.st_mode & 07777, own = mode & 0700;
    if (mode != own && ::fchmod(fd, own) != 0) return failed("could not make private", path, errno);
    return {};
}

// Opens `path` without following a link, checks what it is and trusts it.
Expected<Descriptor> openTrusted(const std::string& path, int flags, bool wantDirectory) {
    Descriptor fd(::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
    if (fd.fd < 0) {
        const int error = errno;
        if (error == ELOOP) return Problem{path + " is a symbolic link", error};
        if (error == ENOTDIR) return Problem{path + " is not a directory", error};
        return failed("could not open", path, error);
    }
    struct stat st {};
    if (::fstat(fd.fd, &st) != 0) return failed("could not examine", path, errno);
    if (wantDirectory ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) {
        return Problem{path + (wantDirectory ? " is not a directory" : " is not a regular file")};
    }
    if (auto trusted = trust(fd.fd, st, path); !trusted) return trusted.problem();
    return fd;
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

Expected<void> ensureDirectory() {
    const std::string dir = directory();
    // Parents that are missing are made for the user alone; existing ones are
    // left as they are.
    for (std::size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1)) {
        const std::string parent = dir.substr(0, slash);
        if (::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) return failed("could not create", parent, errno);
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return failed("could not create", dir, errno);
    auto opened = openTrusted(dir, O_RDONLY | O_DIRECTORY, /*wantDirectory=*/true);
    if (!opened) return opened.problem();
    return {};
}

Expected<Access> ensurePrivateFile(const std::string& path) {
    if (auto ready = ensureDirectory(); !ready) return ready.problem();
    auto opened = openTrusted(path, O_RDWR | O_CREAT, /*wantDirectory=*/false);
    if (opened) return Access::ReadWrite;
    const int error = opened.problem().error;
    if ((error != EACCES && error != EROFS) || ::access(path.c_str(), F_OK) != 0) return opened.problem();
    auto readable = openTrusted(path, O_RDONLY, /*wantDirectory=*/false);
    if (!readable) return readable.problem();
    return Access::ReadOnly;
}

Expected<void> appendPrivate(const std::string& path, const std::string& record) {
    if (auto ready = ensureDirectory(); !ready) return ready.problem();
    auto opened = openTrusted(path, O_WRONLY | O_APPEND | O_CREAT, /*wantDirectory=*/false);
    if (!opened) return opened.problem();
    // Each write appends at the end of the file, whatever others wrote meanwhile.
    for (std::string_view rest = record; !rest.empty();) {
        ssize_t n = ::write(opened->fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failed("could not write to", path, n < 0 ? errno : EIO);
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

Expected<std::optional<std::string>> readProfile() {
    if (auto ready = ensureDirectory(); !ready) return ready.problem();
    const std::string path = profilePath();
    auto read = readSmallFile(path, /*followLinks=*/false, maxSmallFileSize,
                              [&](int fd, const struct stat& st) { return trust(fd, st, path); });
    if (read) return std::optional<std::string>(std::string(read->begin(), read->end()));
    if (read.problem().error == ENOENT) return std::optional<std::string>();  // no profile: the default Mac
    return read.problem();
}

std::string keychainPath() { return directory() + "/keychain.sqlite3"; }
std::string profilePath() { return directory() + "/device.profile"; }
std::string promptLogPath() { return directory() + "/prompts.log"; }

}  // namespace tresk::simulator
