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
constexpr StatusMessage listStatuses[] = {{status::itemNotFound, {}}};  // an empty store lists nothing

constexpr Command table[] = {
    {"add", false, true, route::add, addStatuses, messages::addFailed},
    {"get", false, false, route::get, getStatuses, messages::retrieveFailed},
    {"delete", false, false, route::remove, deleteStatuses, messages::deleteFailed},
    {"list", true, false, route::list, listStatuses, messages::listFailed},
};

void run(std::string_view word, const CommandInput& input, Services& services) {
    const Command* command = findCommand(word);
    command->run(*command, input, services);
}

}  // namespace

std::span<const Command> commands() { return table; }

const Command* findCommand(std::string_view word) {
    for (const Command& command : table) {
        if (command.word == word) return &command;
    }
    return nullptr;
}

void settle(const Command& command, OSStatus status, Keychain& keychain) {
    for (const StatusMessage& row : command.statusMessages) {
        if (row.status != status) continue;
        if (row.message.empty()) return;
        fail(row.message);
    }
    fail(command.failure,
         StatusDetail{status, keychain.statusMessage(status), status == status::missingEntitlement});
}

void addCommand(const std::optional<std::string>& key, AuthenticationPolicy policy, Services& services) {
    run("add", {key, policy}, services);
}
void getCommand(const std::optional<std::string>& key, Services& services) { run("get", {key}, services); }
void deleteCommand(const std::optional<std::string>& key, Services& services) { run("delete", {key}, services); }
void listCommand(const std::optional<std::string>& key, Services& services) { run("list", {key}, services); }

}  // namespace tresk
