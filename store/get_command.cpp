#include "common/diagnostics.h"
#include "common/messages.h"
#include "store/address.h"
#include "store/commands.h"

namespace tresk {

void route::get(const Command& self, const CommandInput& input, Services& services) {
    ItemAddress address = requireFullAddress(input.key);

    KeychainQuery query = baseQuery(address.service, address.account);
    query[Attribute::ReturnData] = true;
    query[Attribute::MatchLimit] = Constant::MatchLimitOne;

    // The prompt names the item; no earlier Touch ID match may stand in for it.
    query[Attribute::UseAuthenticationContext] =
        AuthenticationPrompt{messages::unlockReason(address.service, *address.account), 0};

    requireAccessGroupEntitlement(self, services.keychain);
    CopyResult found = services.keychain.copyMatching(query, {});
    if (found.status.status != status::success) settle(self, found.status);
    const Bytes* value = found.result.asData();
    if (!value) fail(messages::unexpectedData);
    services.console.writeOutput(value->view());
}

}  // namespace tresk
