#include <fcntl.h>
#include <unistd.h>
#include <util.h>

#include "platform.h"

namespace e2e::platform {
namespace {

bool closeOnExec(int fd) { return ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0; }

}  // namespace

// macOS has no pipe2; the tests that run here start one child at a time.
bool makePipe(int fds[2]) {
    if (::pipe(fds) != 0) return false;
    return closeOnExec(fds[0]) && closeOnExec(fds[1]);
}

bool openTerminal(int& master, int& slave) {
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return false;
    return closeOnExec(master) && closeOnExec(slave);
}

// The write end of a pipe here reports its own, unused direction.
std::size_t unreadInPipe(int) { return 0; }

std::size_t residentBytes(long maxrss) { return static_cast<std::size_t>(maxrss); }

}  // namespace e2e::platform
