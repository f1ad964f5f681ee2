#include "common/diagnostics.h"

#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "common/bytes.h"
#include "common/messages.h"
#include "common/streams.h"
#include "text/unicode.h"

namespace tresk {

std::string errorLine(std::string_view message, const std::optional<StatusDetail>& detail) {
    // Messages carry text from outside (a command word, a name, a platform's
    // or a profile's words): it must not break the line or reach a terminal raw.
    std::string line(messages::errorPrefix);
    line += text::visibleText(message);
    if (detail) {
        line += " (";
        line += std::to_string(detail->status);
        line += ": ";
        line += detail->text ? text::visibleText(*detail->text) : std::string(messages::unknownError);
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
    writeAllUnchecked(2, line);
    wipeAndExit(1);
}

}  // namespace

void fail(std::string_view message) { writeAndExit(errorLine(message)); }

void fail(std::string_view message, const StatusDetail& detail) { writeAndExit(errorLine(message, detail)); }

void failOutOfMemory() {
    // Nothing may be allocated here: the line is put together on the stack.
    char line[64];
    static_assert(messages::errorPrefix.size() + messages::outOfMemory.size() + 1 <= sizeof line);
    std::size_t length = 0;
    for (std::string_view piece : {messages::errorPrefix, messages::outOfMemory, std::string_view("\n")}) {
        piece.copy(line + length, piece.size());
        length += piece.size();
    }
    writeAllUnchecked(2, std::string_view(line, length));
    wipeAndExit(1);
}

void wipeAndExit(int status) {
    wipeAllSecrets();
    std::exit(status);
}

}  // namespace tresk
