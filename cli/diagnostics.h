// The single way a failure is reported: one "Error: " line, exit status 1.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/keychain/keychain_query.h"

namespace tresk {

// The whole error line, terminator included. `platformText` is the
// platform's message for `status`; none gives "Unknown error".
std::string errorLine(std::string_view message, std::optional<OSStatus> status,
                      const std::optional<std::string>& platformText);

// Writes the error line (with the status detail when a status is given) and
// ends the process with status 1.
[[noreturn]] void fail(std::string_view message, std::optional<OSStatus> status = std::nullopt);

// Ends the process: secrets wiped first.
[[noreturn]] void terminate(int status);

}  // namespace tresk
