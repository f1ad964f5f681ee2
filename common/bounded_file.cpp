#include "common/bounded_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace tresk {
namespace {

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

std::variant<std::vector<std::uint8_t>, FileProblem> readSmallFile(
    const std::string& path, bool followLinks, std::size_t limit,
    const std::function<bool(int fd, const struct stat&)>& accept) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW);
    Descriptor file{::open(path.c_str(), flags)};
    if (file.fd < 0) {
        const int error = errno;
        return FileProblem{error == ENOENT ? FileProblem::Missing : FileProblem::Unreadable, error};
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) return FileProblem{FileProblem::Unreadable, errno};
    if (!S_ISREG(st.st_mode)) return FileProblem{FileProblem::NotRegular};
    if (static_cast<std::uintmax_t>(st.st_size) > limit) return FileProblem{FileProblem::TooLarge, 0, limit};
    if (accept && !accept(file.fd, st)) return FileProblem{FileProblem::Refused};

    // Read to the end, never past the limit: the size may change while reading.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (size > limit) break;
            bytes.resize(std::min(limit + 1, size * 2));
        }
        ssize_t n = ::read(file.fd, bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FileProblem{FileProblem::Unreadable, errno};
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    if (size > limit) return FileProblem{FileProblem::TooLarge, 0, limit};
    bytes.resize(size);
    return bytes;
}

std::string describe(const FileProblem& problem) {
    switch (problem.kind) {
        case FileProblem::Missing: return "it does not exist";
        case FileProblem::NotRegular: return "it is not a regular file";
        case FileProblem::TooLarge:
            // The bound as it was given: a whole number of MiB or KiB.
            if (problem.limit % (1 << 20) == 0) return "it is larger than " + std::to_string(problem.limit >> 20) + " MiB";
            if (problem.limit % 1024 == 0) return "it is larger than " + std::to_string(problem.limit >> 10) + " KiB";
            return "it is larger than " + std::to_string(problem.limit) + " bytes";
        case FileProblem::Refused: return "it is not trusted";
        case FileProblem::Unreadable: break;
    }
    return std::string("it cannot be read (") + std::strerror(problem.error) + ")";
}

}  // namespace tresk
