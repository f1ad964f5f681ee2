// Reading a small file that someone else may have put in place: it is opened
// only when it is a regular file (a FIFO or a device is never waited on or
// read without end) and read only up to a limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include <sys/stat.h>

namespace tresk {

inline constexpr std::size_t maxSmallFileSize = 1 << 20;  // Info.plist, the device profile

struct FileProblem {
    enum Kind { Missing, NotRegular, TooLarge, Refused, Unreadable } kind;
    int error = 0;          // errno, when a call failed
    std::size_t limit = 0;  // the bound that was passed, for TooLarge
};

// The whole file, or why not. A symbolic link is followed only when
// `followLinks`; `accept`, when given, sees the opened file first and may
// refuse it (Refused).
std::variant<std::vector<std::uint8_t>, FileProblem> readSmallFile(
    const std::string& path, bool followLinks, std::size_t limit = maxSmallFileSize,
    const std::function<bool(int fd, const struct stat&)>& accept = {});

// A short English account of the problem, for a message.
std::string describe(const FileProblem& problem);

}  // namespace tresk
