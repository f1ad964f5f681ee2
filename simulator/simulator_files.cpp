#include "simulator/simulator_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/bounded_file.h"
#include "common/descriptor.h"
#include "common/streams.h"

namespace tresk::simulator {
namespace {

constexpr std::string_view database = "keychain.sqlite3", profile = "device.profile", promptLog = "prompts.log";
// The rollback journal the store uses, and the files of WAL mode, which a
// database file can ask for.
constexpr std::string_view sqliteSuffixes[] = {"-journal", "-wal", "-shm"};

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

Problem couldNot(const std::string& what, const std::string& path, int error) {
    return {"could not " + what + " " + path + " (" + std::strerror(error) + ")", error};
}

// Trusted when it is the user's own; then made private: what others may do
// is taken away, what the user took from himself (writing, say) is not given
// back.
Expected<void> trust(int fd, const struct stat& st, const std::string& path) {
    if (st.st_uid != ::geteuid()) return Problem{path + " belongs to another user"};
    const mode_t mode = st.st_mode & 07777, own = mode & 0700;
    if (mode != own && ::fchmod(fd, own) != 0) return couldNot("make private", path, errno);
    return {};
}

// Opens `path` without following a link, checks what it is and trusts it.
Expected<Descriptor> openTrusted(const std::string& path, int flags, bool wantDirectory) {
    Descriptor fd(::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600));
    if (fd.fd < 0) {
        const int error = errno;
        if (error == ELOOP) return Problem{path + " is a symbolic link", error};
        if (error == ENOTDIR) return Problem{path + " is not a directory", error};
        return couldNot("open", path, error);
    }
    struct stat st {};
    if (::fstat(fd.fd, &st) != 0) return couldNot("examine", path, errno);
    if (wantDirectory ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) {
        return Problem{path + (wantDirectory ? " is not a directory" : " is not a regular file")};
    }
    if (auto trusted = trust(fd.fd, st, path); !trusted) return trusted.problem();
    return fd;
}

// Nothing but the simulator's files is there, and SQLite's files beside the
// database are trusted. (The profile and the prompt log are checked where
// they are opened, the database by openDatabase.)
Expected<void> trustEntries(const std::string& dir) {
    auto close = [](DIR* opened) { ::closedir(opened); };
    std::unique_ptr<DIR, decltype(close)> listing(::opendir(dir.c_str()), close);
    if (!listing) return couldNot("read", dir, errno);
    for (errno = 0; const dirent* entry = ::readdir(listing.get()); errno = 0) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || name == database || name == profile || name == promptLog) continue;
        const std::string path = dir + "/" + entry->d_name;
        const bool sqlites = name.starts_with(database) &&
                             std::ranges::count(sqliteSuffixes, name.substr(database.size())) != 0;
        if (!sqlites) return Problem{path + " is not one of the simulator's files"};
        if (auto trusted = openTrusted(path, O_RDONLY, /*wantDirectory=*/false); !trusted) return trusted.problem();
    }
    if (errno != 0) return couldNot("read", dir, errno);
    return {};
}

// Created 0600 when missing; one the user cannot write is opened for reading.
Expected<Access> openDatabase(const std::string& path) {
    auto opened = openTrusted(path, O_RDWR | O_CREAT, /*wantDirectory=*/false);
    if (opened) return Access::ReadWrite;
    const int error = opened.problem().error;
    if ((error != EACCES && error != EROFS) || ::access(path.c_str(), F_OK) != 0) return opened.problem();
    auto readable = openTrusted(path, O_RDONLY, /*wantDirectory=*/false);
    if (!readable) return readable.problem();
    return Access::ReadOnly;
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
        if (::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) return couldNot("create", parent, errno);
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return couldNot("create", dir, errno);
    auto opened = openTrusted(dir, O_RDONLY | O_DIRECTORY, /*wantDirectory=*/true);
    if (!opened) return opened.problem();
    return {};
}

Expected<Access> trustStore() {
    if (auto ready = ensureDirectory(); !ready) return ready.problem();
    if (auto trusted = trustEntries(directory()); !trusted) return trusted.problem();
    return openDatabase(keychainPath());
}

Expected<void> appendPrivate(const std::string& path, const std::string& record) {
    if (auto ready = ensureDirectory(); !ready) return ready.problem();
    auto opened = openTrusted(path, O_WRONLY | O_APPEND | O_CREAT, /*wantDirectory=*/false);
    if (!opened) return opened.problem();
    // Each write appends at the end of the file, whatever others wrote meanwhile.
    if (auto written = writeAll(opened->fd, record); !written) {
        return couldNot("write to", path, written.problem().error);
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

std::string keychainPath() { return directory() + "/" + std::string(database); }
std::string profilePath() { return directory() + "/" + std::string(profile); }
std::string promptLogPath() { return directory() + "/" + std::string(promptLog); }

}  // namespace tresk::simulator
