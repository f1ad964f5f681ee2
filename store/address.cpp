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

FullAddress requireFullAddress(const std::optional<std::string>& key) {
    if (key) {
        if (auto address = parseKey(*key); address && address->account) {
            return {std::move(address->service), std::move(*address->account)};
        }
    }
    fail(messages::invalidKey);
}

}  // namespace tresk
