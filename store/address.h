// NAMESPACE/KEY addressing and the query every command starts from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/keychain/keychain_query.h"

namespace tresk {

struct ItemAddress {
    std::string service;                 // never empty
    std::optional<std::string> account;  // absent, or not empty
};

std::optional<ItemAddress> parseKey(std::string_view text);

KeychainQuery baseQuery(const std::optional<std::string>& service,
                        const std::optional<std::string>& account);

struct FullAddress {
    std::string service;
    std::string account;
};

// add, get and delete need both parts; anything less ends the run with
// "Invalid NAMESPACE/KEY.".
FullAddress requireFullAddress(const std::optional<std::string>& key);

}  // namespace tresk
