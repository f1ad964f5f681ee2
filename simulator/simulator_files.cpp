#include "simulator/simulator_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <variant>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/bounded_file.h"

namespace tresk::simulator {
namespace {

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string failed(const std::string& what, const std::string& path, int error) {
    return what + " " + path + " (" + std::strerror(error) + ")";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Trusted when it is the user's own; then made private: what others may do
// is taken away, what the user took from himself (writing, say) is not given
// back.
std::optional<std::string> trust(int fd, const struct stat& st, const std::string& path) {
    if (st.st_uid != ::geteuid()) return path + " belongs to another user";
    const mode_t mode = st.st_mode & 07777, own = mode & 0700;
    if (mode != own && ::fchmod(fd, own) != 0) return failed("could not make private", path, errno);
    return std::nullopt;
}

// Opens `path` without following a link and checks what it is.
std::optional<std::string> openTrusted(const std::string& path, int flags, bool wantDirectory, int& fd) {
    fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP) return path + " is a symbolic link";
        if (error == ENOTDIR) return path + " is not a directory";
        return failed("could not open", path, error);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) return failed("could not examine", path, errno);
    if (wantDirectory ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) {
        return path + (wantDirectory ? " is not a directory" : " is not a regular file");
    }
    return trust(fd, st, path);
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

std::optional<std::string> ensureDirectory() {
    const std::string dir = directory();
    // Parents that are missing are made for the user alone; existing ones are
    // left as they are.
    for (std::size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1)) {
        const std::string parent = dir.substr(0, slash);
        if (::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) return failed("could not create", parent, errno);
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return failed("could not create", dir, errno);
    int fd = -1;
    auto problem = openTrusted(dir, O_RDONLY | O_DIRECTORY, /*wantDirectory=*/true, fd);
    Descriptor owner(fd);
    return problem;
}

std::optional<std::string> ensurePrivateFile(const std::string& path, bool& writable) {
    if (auto problem = ensureDirectory()) return problem;
    int fd = -1;
    writable = true;
    auto problem = openTrusted(path, O_RDWR | O_CREAT, /*wantDirectory=*/false, fd);
    if (problem && (errno == EACCES || errno == EROFS) && ::access(path.c_str(), F_OK) == 0) {
        Descriptor failed(fd);
        writable = false;
        problem = openTrusted(path, O_RDONLY, /*wantDirectory=*/false, fd);
    }
    Descriptor owner(fd);
    return problem;
}

std::optional<std::string> appendPrivate(const std::string& path, const std::string& record) {
    if (auto problem = ensureDirectory()) return problem;
    int fd = -1;
    auto problem = openTrusted(path, O_WRONLY | O_APPEND | O_CREAT, /*wantDirectory=*/false, fd);
    Descriptor owner(fd);
    if (problem) return problem;
    // O_APPEND and one write: concurrent records never interleave.
    for (std::string_view rest = record; !rest.empty();) {
        ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failed("could not write to", path, n < 0 ? errno : EIO);
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

std::optional<std::string> readProfile(std::optional<std::string>& problem) {
    problem = ensureDirectory();
    if (problem) return std::nullopt;
    const std::string path = profilePath();
    std::optional<std::string> refusal;
    auto read = readSmallFile(path, /*followLinks=*/false, maxSmallFileSize, [&](int fd, const struct stat& st) {
        refusal = trust(fd, st, path);
        return !refusal;
    });
    if (auto* bytes = std::get_if<std::vector<std::uint8_t>>(&read)) return std::string(bytes->begin(), bytes->end());
    const auto& fileProblem = std::get<FileProblem>(read);
    if (fileProblem.kind == FileProblem::Missing) return std::nullopt;  // no profile: the default Mac
    if (refusal) problem = *refusal;
    else if (fileProblem.error == ELOOP) problem = path + " is a symbolic link";
    else problem = path + ": " + describe(fileProblem);
    return std::nullopt;
}

std::string keychainPath() { return directory() + "/keychain.sqlite3"; }
std::string profilePath() { return directory() + "/device.profile"; }
std::string promptLogPath() { return directory() + "/prompts.log"; }

}  // namespace tresk::simulator
