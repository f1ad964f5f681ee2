#include "common/streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include <poll.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/diagnostics.h"
#include "common/messages.h"

namespace tresk {
namespace {

// macOS's poll() does not serve terminals and other devices: it answers
// POLLNVAL at once, which would turn the wait into a busy loop. select()
// serves them; a descriptor beyond its set is given a short pause instead.
int awaitWithSelect(int fd, short events) {
    if (fd < 0 || fd >= FD_SETSIZE) {
        ::usleep(1000);
        return 0;
    }
    for (;;) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        const bool reading = (events & POLLIN) != 0;
        if (::select(fd + 1, reading ? &set : nullptr, reading ? nullptr : &set, nullptr, nullptr) >= 0) return 0;
        if (errno != EINTR) return errno;
    }
}

// A descriptor left non-blocking by whoever started the program (a shared
// pipe often is) says EAGAIN where a blocking one would wait: wait for it.
// 0 when it is ready, else errno.
int awaitReady(int fd, short events) {
    pollfd ready{fd, events, 0};
    while (::poll(&ready, 1, -1) < 0) {
        if (errno != EINTR) return errno;
    }
    if (ready.revents & POLLNVAL) return awaitWithSelect(fd, events);
    return 0;
}

bool wouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

// The write loop itself: 0, or errno. It allocates nothing, so the line
// for memory that ran out can go through it.
int writeEvery(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            if (wouldBlock(errno)) {
                if (int error = awaitReady(fd, POLLOUT)) return error;
                continue;
            }
            return errno;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return 0;
}

Problem systemProblem(int error) { return {std::strerror(error), error}; }

// Reads into the buffer's free room until end of file or until it is full;
// 0, or errno. `atEnd` tells which.
int readIntoRoom(int fd, SecretBuffer& buffer, bool& atEnd) {
    atEnd = false;
    while (buffer.size() < buffer.capacity()) {
        std::span<std::uint8_t> room = buffer.spare(1);
        ssize_t n = ::read(fd, room.data(), room.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            if (wouldBlock(errno)) {
                if (int error = awaitReady(fd, POLLIN)) return error;
                continue;
            }
            return errno;
        }
        if (n == 0) {
            atEnd = true;
            return 0;
        }
        buffer.commit(static_cast<std::size_t>(n));
    }
    return 0;
}

}  // namespace

Expected<void> writeAll(int fd, std::span<const std::uint8_t> bytes) {
    if (int error = writeEvery(fd, bytes)) return systemProblem(error);
    return {};
}

Expected<void> writeAll(int fd, std::string_view text) { return writeAll(fd, bytesOf(text)); }

void writeAllUnchecked(int fd, std::string_view text) { (void)writeEvery(fd, bytesOf(text)); }

Expected<void> readAll(int fd, SecretBuffer& into, std::size_t limit) {
    // A regular file tells its size: the buffer is made to fit (the byte over
    // tells the end without growing it). A pipe does not: what does not fit
    // a first guess is gathered in pieces, then moved piece by piece into one
    // buffer of its size, each piece wiped and given back as soon as it is
    // copied: the value is never held twice.
    constexpr std::size_t firstPiece = 64 * 1024, largestPiece = 4 * 1024 * 1024;
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    const std::size_t before = into.size();
    into.reserve(before + (sized ? std::min(static_cast<std::size_t>(st.st_size), limit) + 1 : firstPiece));
    bool atEnd = false;
    if (int error = readIntoRoom(fd, into, atEnd)) return systemProblem(error);
    std::vector<std::unique_ptr<SecretBuffer>> pieces;
    std::size_t total = into.size() - before;
    while (!atEnd && total <= limit) {
        const std::size_t size = pieces.empty() ? firstPiece : std::min(2 * pieces.back()->capacity(), largestPiece);
        pieces.push_back(std::make_unique<SecretBuffer>());
        pieces.back()->reserve(size);
        if (int error = readIntoRoom(fd, *pieces.back(), atEnd)) return systemProblem(error);
        total += pieces.back()->size();
    }
    into.reserve(before + total);
    for (auto& piece : pieces) {
        std::span<const std::uint8_t> bytes = piece->view();
        std::copy(bytes.begin(), bytes.end(), into.spare(bytes.size()).begin());
        into.commit(bytes.size());
        piece.reset();
    }
    return {};
}

namespace {

class ProcessConsole final : public Console {
public:
    bool inputIsTerminal() override { return ::isatty(0) != 0; }

    Bytes readInputToEnd() override {
        auto buffer = std::make_shared<SecretBuffer>();
        if (auto read = readAll(0, *buffer); !read) fail(messages::readFailed(read.problem().text));
        return Bytes::adopt(std::move(buffer));
    }

    void writeOutput(std::span<const std::uint8_t> bytes) override {
        auto written = writeAll(1, bytes);
        if (written) return;
        // A reader that closed the pipe had enough (`| head`): no line for
        // it, but no success either, since not all was delivered.
        if (written.problem().error == EPIPE) wipeAndExit(1);
        fail(messages::writeFailed(written.problem().text));
    }

    void writeConfirmation(std::string_view text) override { writeAllUnchecked(2, text); }
};

}  // namespace

Console& processConsole() {
    static ProcessConsole console;
    return console;
}

}  // namespace tresk
