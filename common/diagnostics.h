// The single way a failure is reported: one "Error: " line on standard
// error, then exit status 1. Nothing here knows the platform: a caller that
// has a status hands over its text too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tresk {

// What follows the message when a platform status caused the failure.
struct StatusDetail {
    std::int32_t status = 0;
    std::optional<std::string> text;  // the platform's message; none gives "Unknown error"
    bool signingHint = false;         // the status means the entitlement is missing
};

// The whole error line, terminator included.
std::string errorLine(std::string_view message, const std::optional<StatusDetail>& detail = std::nullopt);

// Write the error line and end the process with status 1.
[[noreturn]] void fail(std::string_view message);
[[noreturn]] void fail(std::string_view message, const StatusDetail& detail);

// The error line for memory that ran out, written without allocating.
[[noreturn]] void failOutOfMemory();

// Ends the process with `status`, every secret buffer wiped first (not
// std::terminate: this is an ordinary exit).
[[noreturn]] void wipeAndExit(int status);

}  // namespace tresk
