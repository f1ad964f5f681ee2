#include <utility>

#include "common/diagnostics.h"
#include "common/messages.h"
#include "store/address.h"
#include "store/commands.h"

namespace tresk {

void route::add(const Command& self, const CommandInput& input, Services& services) {
    // Input is judged before the key, so a terminal or an empty pipe is what
    // the user hears about first.
    if (services.console.inputIsTerminal()) fail(messages::valueFromTerminal);
    Bytes value = services.console.readInputToEnd();
    if (value.empty()) fail(messages::valueEmpty);

    ItemAddress address = requireFullAddress(input.key);
    checkAuthenticationAvailable(input.policy, services.localAuthentication);

    KeychainQuery query = baseQuery(address.service, address.account);
    query[Attribute::ValueData] = std::move(value);

    auto accessControl = services.keychain.createAccessControl(flags(input.policy));
    if (!accessControl) fail(messages::accessControlFailed(rawValue(input.policy), accessControl.problem().text));
    query[Attribute::AccessControl] = std::move(*accessControl);

    requireAccessGroupEntitlement(self, services.keychain);
    KeychainStatus added = services.keychain.add(query);
    if (added.status != status::success) settle(self, added);
    services.console.writeConfirmation(messages::keyAdded);
}

}  // namespace tresk
