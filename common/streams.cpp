#include "common/streams.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "common/diagnostics.h"
#include "common/messages.h"

namespace tresk {

int writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return 0;
}

int writeAll(int fd, std::string_view text) {
    return writeAll(fd, std::span<const std::uint8_t>(
                            reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

int readAll(int fd, SecretBuffer& into) {
    constexpr std::size_t chunk = 64 * 1024;
    // A regular file tells its size: one allocation instead of a growth series.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        into.reserve(static_cast<std::size_t>(st.st_size) + 1);
    }
    for (;;) {
        std::span<std::uint8_t> room = into.spare(chunk);
        ssize_t n = ::read(fd, room.data(), room.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return 0;
        into.commit(static_cast<std::size_t>(n));
    }
}

namespace {

class ProcessConsole final : public Console {
public:
    bool inputIsTerminal() override { return ::isatty(0) != 0; }

    Bytes readInputToEnd() override {
        auto buffer = std::make_shared<SecretBuffer>();
        if (int err = readAll(0, *buffer)) fail(messages::readFailed(std::strerror(err)));
        return Bytes::adopt(std::move(buffer));
    }

    void writeOutput(std::span<const std::uint8_t> bytes) override {
        if (int err = writeAll(1, bytes)) fail(messages::writeFailed(std::strerror(err)));
    }

    void writeConfirmation(std::string_view text) override { (void)writeAll(2, text); }
};

}  // namespace

Console& processConsole() {
    static ProcessConsole console;
    return console;
}

}  // namespace tresk
