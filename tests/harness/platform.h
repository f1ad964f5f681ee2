// What the harness asks of the system where Linux and macOS differ.
#pragma once

#include <cstddef>

namespace e2e::platform {

// A pipe whose two ends are closed on exec: a child started by another
// thread meanwhile must not keep a writer open. False when none was made.
bool makePipe(int fds[2]);

// A pseudo-terminal pair, both ends closed on exec.
bool openTerminal(int& master, int& slave);

// Bytes written to a pipe and not yet read, asked of its write end; 0 where
// the system cannot tell.
std::size_t unreadInPipe(int writeEnd);

// ru_maxrss in bytes: Linux counts it in KiB, macOS in bytes.
std::size_t residentBytes(long maxrss);

}  // namespace e2e::platform
