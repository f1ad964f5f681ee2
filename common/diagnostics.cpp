#include "common/diagnostics.h"

#include <cstdlib>

#include "common/bytes.h"
#include "common/messages.h"
#include "common/streams.h"

namespace tresk {

std::string errorLine(std::string_view message, const std::optional<StatusDetail>& detail) {
    std::string line(messages::errorPrefix);
    line += message;
    if (detail) {
        line += " (";
        line += std::to_string(detail->status);
        line += ": ";
        line += detail->text ? std::string_view(*detail->text) : messages::unknownError;
        line += ")";
        if (detail->signingHint) line += messages::entitlementHint;
    }
    line += '\n';
    return line;
}

namespace {

[[noreturn]] void writeAndExit(const std::string& line) {
    // One write: the line is never interleaved or split; its outcome cannot
    // change the exit status.
    (void)writeAll(2, line);
    terminate(1);
}

}  // namespace

void fail(std::string_view message) { writeAndExit(errorLine(message)); }

void fail(std::string_view message, const StatusDetail& detail) { writeAndExit(errorLine(message, detail)); }

void terminate(int status) {
    wipeAllSecrets();
    std::exit(status);
}

}  // namespace tresk
