#include <fcntl.h>
#include <pty.h>
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

}  // namespace e2e::platform
