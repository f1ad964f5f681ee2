#include "store/commands.h"

#include "common/diagnostics.h"
#include "common/messages.h"

namespace tresk {
namespace {

// In the order of the message catalogue.
constexpr StatusMessage addStatuses[] = {{status::duplicateItem, messages::keyExists}};
constexpr StatusMessage getStatuses[] = {{status::itemNotFound, messages::keyNotFound},
                                         {status::userCanceled, messages::authenticationCanceled}};
constexpr StatusMessage deleteStatuses[] = {{status::itemNotFound, messages::keyNotFound}};

constexpr Command table[] = {
    {"add", false, true, route::add, addStatuses, messages::addFailed},
    {"get", false, false, route::get, getStatuses, messages::retrieveFailed},
    {"delete", false, false, route::remove, deleteStatuses, messages::deleteFailed},
    {"list", true, false, route::list, {}, messages::listFailed},
};

// A row without a message would end the run with an empty line.
constexpr bool everyRowHasAMessage() {
    for (const Command& command : table) {
        for (const StatusMessage& row : command.statusMessages) {
            if (row.message.empty() || row.status == status::success) return false;
        }
    }
    return true;
}
static_assert(everyRowHasAMessage());

}  // namespace

const Command* findCommand(std::string_view word) {
    for (const Command& command : table) {
        if (command.word == word) return &command;
    }
    return nullptr;
}

void requireAccessGroupEntitlement(const Command& command, Keychain& keychain) {
    if (!keychain.hasAccessGroupEntitlement()) settle(command, keychain.describe(status::missingEntitlement));
}

void settle(const Command& command, const KeychainStatus& status) {
    for (const StatusMessage& row : command.statusMessages) {
        if (row.status == status.status) fail(row.message);
    }
    fail(command.failure, StatusDetail{status.status, status.text, status.status == status::missingEntitlement});
}

}  // namespace tresk
