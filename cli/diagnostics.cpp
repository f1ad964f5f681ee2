#include "cli/diagnostics.h"

#include <cstdlib>

#include "cli/messages.h"
#include "cli/streams.h"
#include "common/bytes.h"
#include "store/keychain/keychain.h"

namespace tresk {

std::string errorLine(std::string_view message, std::optional<OSStatus> status,
                      const std::optional<std::string>& platformText) {
    std::string line(messages::errorPrefix);
    line += message;
    if (status) {
        line += " (";
        line += std::to_string(*status);
        line += ": ";
        line += platformText ? std::string_view(*platformText) : messages::unknownError;
        line += ")";
        if (*status == status::missingEntitlement) line += messages::entitlementHint;
    }
    line += '\n';
    return line;
}

void fail(std::string_view message, std::optional<OSStatus> status) {
    std::optional<std::string> platformText;
    if (status) platformText = keychainStatusMessage(*status);
    // One write: the line is never interleaved or split; its outcome cannot
    // change the exit status.
    (void)writeAll(2, errorLine(message, status, platformText));
    terminate(1);
}

void terminate(int status) {
    wipeAllSecrets();
    std::exit(status);
}

}  // namespace tresk
