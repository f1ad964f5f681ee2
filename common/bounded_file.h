// Reading a small file that someone else may have put in place: it is opened
// only when it is a regular file (a FIFO or a device is never waited on or
// read without end) and read only up to a limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "common/problem.h"

namespace tresk {

inline constexpr std::size_t maxSmallFileSize = 1 << 20;  // Info.plist, the device profile

// The whole file, or why not, in words that name the file ("PATH: it is not
// a regular file", "PATH is a symbolic link"); a file that does not exist
// gives the problem with error ENOENT. A symbolic link is followed only when
// `followLinks`; `accept`, when given, sees the opened file first and may
// refuse it with a problem of its own.
Expected<std::vector<std::uint8_t>> readSmallFile(
    const std::string& path, bool followLinks, std::size_t limit = maxSmallFileSize,
    const std::function<Expected<void>(int fd, const struct stat&)>& accept = {});

}  // namespace tresk
