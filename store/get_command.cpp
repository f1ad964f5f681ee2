#include <optional>
#include <string>

#include "cli/diagnostics.h"
#include "cli/messages.h"
#include "store/address.h"
#include "store/commands.h"

namespace tresk {

void getCommand(const std::optional<std::string>& key, Services& services) {
    FullAddress address = requireFullAddress(key);

    KeychainQuery query = baseQuery(address.service, address.account);
    query[Attribute::ReturnData] = true;
    query[Attribute::MatchLimit] = Constant::MatchLimitOne;

    // The prompt names the item; no earlier Touch ID match may stand in for it.
    auto context = services.localAuthentication.createContext();
    context->setLocalizedReason(messages::unlockReason(address.service, address.account));
    context->setTouchIDAuthenticationAllowableReuseDuration(0);
    query[Attribute::UseAuthenticationContext] = context;

    CopyResult found = services.keychain.copyMatching(query);
    if (found.status == status::success) {
        const Bytes* value = found.result.asData();
        if (!value) fail(messages::unexpectedData);
        services.console.writeOutput(value->view());
        context->invalidate();
        return;
    }
    if (found.status == status::itemNotFound) fail(messages::keyNotFound);
    if (found.status == status::userCanceled) fail(messages::authenticationCanceled);
    fail(messages::retrieveFailed, found.status);
}

}  // namespace tresk
