// NAMESPACE/KEY addressing and the query every command starts from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/keychain/keychain_query.h"

namespace tresk {

// NAMESPACE/KEY: the namespace is the item's service, the key its account.
struct ItemAddress {
    std::string service;                 // never empty
    std::optional<std::string> account;  // absent, or not empty
};

std::optional<ItemAddress> parseKey(std::string_view text);

KeychainQuery baseQuery(const std::optional<std::string>& service,
                        const std::optional<std::string>& account);

// The address with its account, or none: for a missing key, no usable "/",
// an empty part, a name that is not well-formed UTF-8 (it would be repaired
// into another name) or one that holds a character shown only as an escape
// (a control character, a line or paragraph separator, a bidirectional
// control: it would forge or reorder lines where names are shown).
std::optional<ItemAddress> fullAddress(const std::optional<std::string>& key);

// add, get and delete need a full address (its account present); anything
// less ends the run with "Invalid NAMESPACE/KEY.".
ItemAddress requireFullAddress(const std::optional<std::string>& key);

}  // namespace tresk
