// What the harness asks of the system where Linux and macOS differ.
#pragma once

namespace e2e::platform {

// A pipe whose two ends are closed on exec: a child started by another
// thread meanwhile must not keep a writer open. False when none was made.
bool makePipe(int fds[2]);

// A pseudo-terminal pair, both ends closed on exec.
bool openTerminal(int& master, int& slave);

}  // namespace e2e::platform
