#include <optional>
#include <string>

#include "cli/diagnostics.h"
#include "cli/messages.h"
#include "store/address.h"
#include "store/commands.h"

namespace tresk {

void deleteCommand(const std::optional<std::string>& key, Services& services) {
    FullAddress address = requireFullAddress(key);
    OSStatus status = services.keychain.remove(baseQuery(address.service, address.account));
    if (status == status::success) {
        services.console.writeConfirmation(messages::keyDeleted);
        return;
    }
    if (status == status::itemNotFound) fail(messages::keyNotFound);
    fail(messages::deleteFailed, status);
}

}  // namespace tresk
