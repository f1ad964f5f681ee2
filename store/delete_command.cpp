#include "common/messages.h"
#include "store/address.h"
#include "store/commands.h"

namespace tresk {

void route::remove(const Command& self, const CommandInput& input, Services& services) {
    FullAddress address = requireFullAddress(input.key);
    OSStatus status = services.keychain.remove(baseQuery(address.service, address.account));
    if (status != status::success) return settle(self, status, services.keychain);
    services.console.writeConfirmation(messages::keyDeleted);
}

}  // namespace tresk
