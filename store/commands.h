// The four commands as one table: what each accepts on the command line,
// how it runs, and what it says for each Keychain status. Dispatch and the
// entry point read the same table. A command returns on success and ends the
// run on failure.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/streams.h"
#include "store/keychain/keychain.h"
#include "store/keychain/local_authentication.h"
#include "store/policy.h"

namespace tresk {

// The platform services a command uses, handed in so tests can script them.
struct Services {
    Keychain& keychain;
    LocalAuthentication& localAuthentication;
    Console& console;
};

// What a command reads of the front end's values.
struct CommandInput {
    std::optional<std::string> key;
    AuthenticationPolicy policy = AuthenticationPolicy::biometryAny;
};

// A Keychain failure that a command reports with a message of its own.
struct StatusMessage {
    OSStatus status;
    std::string_view message;  // never empty: each row is a failure
};

struct Command {
    std::string_view word;  // matched against the lower-cased command word
    bool standsAlone;       // the word alone is a whole command line
    bool takesPolicy;       // accepts "--policy POLICY" after NAMESPACE/KEY
    void (*run)(const Command& self, const CommandInput& input, Services& services);
    std::span<const StatusMessage> statusMessages;  // tested in this order
    std::string_view failure;                        // any other status, with its detail
};

// Null when no command has this word.
const Command* findCommand(std::string_view word);

// Ends the run for a Keychain call that did not succeed: with the command's
// message for its status, or with its failure message and the status detail.
// A command handles any status that is not a failure (list's empty store)
// before it gets here.
[[noreturn]] void settle(const Command& command, const KeychainStatus& status);

// Called just before a command's item call: a build whose signature lacks
// the keychain access group ends the run as that call would have ended on a
// system that refuses it, with -34018 and the signing hint. Newer systems
// answer such a build's reads as if nothing were stored, which list would
// give as an empty store and get as a missing key.
void requireAccessGroupEntitlement(const Command& command, Keychain& keychain);

// The bodies the table points at.
namespace route {
void add(const Command& self, const CommandInput& input, Services& services);
void get(const Command& self, const CommandInput& input, Services& services);
void remove(const Command& self, const CommandInput& input, Services& services);
void list(const Command& self, const CommandInput& input, Services& services);
}  // namespace route

}  // namespace tresk
