#include "common/bounded_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "common/bytes.h"
#include "common/streams.h"
#include "common/descriptor.h"

namespace tresk {

Expected<std::vector<std::uint8_t>> readSmallFile(
    const std::string& path, bool followLinks, std::size_t limit,
    const std::function<Expected<void>(int fd, const struct stat&)>& accept) {
    auto problem = [&](const std::string& what, int error = 0) { return Problem{path + ": " + what, error}; };
    auto unreadable = [&](int error) {
        return problem(std::string("it cannot be read (") + std::strerror(error) + ")", error);
    };
    // The bound as it was given: a whole number of MiB or KiB.
    auto tooLarge = [&] {
        if (limit % (1 << 20) == 0) return problem("it is larger than " + std::to_string(limit >> 20) + " MiB");
        if (limit % 1024 == 0) return problem("it is larger than " + std::to_string(limit >> 10) + " KiB");
        return problem("it is larger than " + std::to_string(limit) + " bytes");
    };

    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW);
    Descriptor file{::open(path.c_str(), flags)};
    if (file.fd < 0) {
        const int error = errno;
        if (error == ENOENT) return problem("it does not exist", error);
        if (error == ELOOP && !followLinks) return Problem{path + " is a symbolic link", error};
        return unreadable(error);
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) return unreadable(errno);
    if (!S_ISREG(st.st_mode)) return problem("it is not a regular file");
    if (static_cast<std::uintmax_t>(st.st_size) > limit) return tooLarge();
    if (accept) {
        if (auto accepted = accept(file.fd, st); !accepted) return accepted.problem();
    }

    // Read to the end, never far past the limit: the size may change while reading.
    SecretBuffer bytes;
    if (auto read = readAll(file.fd, bytes, limit); !read) return unreadable(read.problem().error);
    if (bytes.size() > limit) return tooLarge();
    return std::vector<std::uint8_t>(bytes.view().begin(), bytes.view().end());
}

}  // namespace tresk
