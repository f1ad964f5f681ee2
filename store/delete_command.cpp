#include "common/messages.h"
#include "store/address.h"
#include "store/commands.h"

namespace tresk {

void route::remove(const Command& self, const CommandInput& input, Services& services) {
    ItemAddress address = requireFullAddress(input.key);
    requireAccessGroupEntitlement(self, services.keychain);
    KeychainStatus removed = services.keychain.remove(baseQuery(address.service, address.account));
    if (removed.status != status::success) settle(self, removed);
    services.console.writeConfirmation(messages::keyDeleted);
}

}  // namespace tresk
