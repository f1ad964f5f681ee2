// The four commands. Each returns on success and ends the run on failure.
#pragma once

#include <optional>
#include <string>

#include "cli/streams.h"
#include "store/keychain/keychain.h"
#include "store/local_authentication.h"
#include "store/policy.h"

namespace tresk {

// The platform services a command uses, handed in so tests can script them.
struct Services {
    Keychain& keychain;
    LocalAuthentication& localAuthentication;
    Console& console;
};

void addCommand(const std::optional<std::string>& key, AuthenticationPolicy policy, Services& services);
void getCommand(const std::optional<std::string>& key, Services& services);
void deleteCommand(const std::optional<std::string>& key, Services& services);
void listCommand(const std::optional<std::string>& key, Services& services);

}  // namespace tresk
