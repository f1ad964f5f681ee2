#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform.h"

namespace e2e::platform {

// pipe2 sets close-on-exec atomically, which tests that start runs from
// several threads rely on.
bool makePipe(int fds[2]) { return ::pipe2(fds, O_CLOEXEC) == 0; }

bool openTerminal(int& master, int& slave) {
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return false;
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    return true;
}

std::size_t unreadInPipe(int writeEnd) {
    int queued = 0;
    return ::ioctl(writeEnd, FIONREAD, &queued) == 0 && queued > 0 ? static_cast<std::size_t>(queued) : 0;
}

std::size_t residentBytes(long maxrss) { return static_cast<std::size_t>(maxrss) * 1024; }

}  // namespace e2e::platform
