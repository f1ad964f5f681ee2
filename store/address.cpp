#include "store/address.h"

#include <utility>

#include "common/diagnostics.h"
#include "common/messages.h"
#include "text/unicode.h"

namespace tresk {

std::optional<ItemAddress> parseKey(std::string_view text) {
    // A "/" that combines with a following mark is another character and
    // does not separate.
    auto slash = text::findCluster(text, "/");
    if (!slash) return std::nullopt;
    std::string service(text.substr(0, *slash));
    std::string account(text.substr(*slash + 1));
    if (service.empty()) return std::nullopt;
    if (account.empty()) return ItemAddress{std::move(service), std::nullopt};
    return ItemAddress{std::move(service), std::move(account)};
}

KeychainQuery baseQuery(const std::optional<std::string>& service,
                        const std::optional<std::string>& account) {
    KeychainQuery query{
        {Attribute::Class, Constant::ClassGenericPassword},
        {Attribute::UseDataProtectionKeychain, true},
        {Attribute::Synchronizable, false},
    };
    if (service) query[Attribute::Service] = *service;
    if (account) query[Attribute::Account] = *account;
    return query;
}

std::optional<ItemAddress> fullAddress(const std::optional<std::string>& key) {
    if (!key || !text::isVisibleText(*key)) return std::nullopt;
    auto address = parseKey(*key);
    if (!address || !address->account) return std::nullopt;
    return address;
}

ItemAddress requireFullAddress(const std::optional<std::string>& key) {
    auto address = fullAddress(key);
    if (!address) fail(messages::invalidKey);
    return std::move(*address);
}

}  // namespace tresk
