// Standard streams through read(2)/write(2): short counts, EINTR and
// descriptors left non-blocking handled, errors reported, no stdio buffering
// in between.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "common/problem.h"

namespace tresk {

// Writes every byte, or says why not (the problem's error is the errno).
Expected<void> writeAll(int fd, std::span<const std::uint8_t> bytes);
Expected<void> writeAll(int fd, std::string_view text);

// The same where the outcome changes nothing (an error line, a confirmation,
// the usage text after a wrong shape); it allocates nothing.
void writeAllUnchecked(int fd, std::string_view text);

// Reads fd to its end into `into`, or says why not. Reading stops too once
// more than `limit` bytes came, so a size over it tells a longer input.
Expected<void> readAll(int fd, SecretBuffer& into, std::size_t limit = SIZE_MAX);

// The process's streams, as the commands see them; tests substitute their own.
class Console {
public:
    virtual ~Console() = default;
    virtual bool inputIsTerminal() = 0;
    // Ends the process with an error line when the input cannot be read.
    virtual Bytes readInputToEnd() = 0;
    // Ends the process with an error line when the bytes cannot be written,
    // with status 1 and no line when the reader closed the pipe.
    virtual void writeOutput(std::span<const std::uint8_t> bytes) = 0;
    // Confirmations on standard error; their delivery is not examined.
    virtual void writeConfirmation(std::string_view text) = 0;
};

Console& processConsole();

}  // namespace tresk
