#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/diagnostics.h"
#include "common/messages.h"
#include "store/address.h"
#include "store/commands.h"
#include "store/listing_order.h"
#include "text/unicode.h"

namespace tresk {
namespace {

bool isArrayOfTextKeyedDictionaries(const PropertyList& result) {
    const auto* items = result.asArray();
    if (!items) return false;
    for (const auto& item : *items) {
        const auto* entries = item.asDictionary();
        if (!entries) return false;
        for (const auto& [k, v] : *entries) {
            if (!k.asText()) return false;
        }
    }
    return true;
}

}  // namespace

void route::list(const Command& self, const CommandInput& input, Services& services) {
    if (input.key) fail(messages::listTakesNoKey);

    KeychainQuery query = baseQuery(std::nullopt, std::nullopt);
    query[Attribute::MatchLimit] = Constant::MatchLimitAll;
    query[Attribute::ReturnAttributes] = true;

    CopyResult found = services.keychain.copyMatching(query);
    if (found.status != status::success) return settle(self, found.status, services.keychain);
    // The whole result is judged before a line is printed.
    if (!isArrayOfTextKeyedDictionaries(found.result)) fail(messages::unexpectedData);

    std::string serviceKey = services.keychain.attributeName(Attribute::Service);
    std::string accountKey = services.keychain.attributeName(Attribute::Account);
    std::vector<std::string> listing;
    for (const auto& item : *found.result.asArray()) {
        const PropertyList* service = item.find(serviceKey);
        const PropertyList* account = item.find(accountKey);
        if (!service || !service->asText() || !account || !account->asText()) continue;
        listing.push_back(*service->asText() + "/" + *account->asText());
    }
    sortListing(listing);

    // A name stored before control characters were refused, or by another
    // program, must not break a line or reach a terminal raw.
    std::string out;
    for (const auto& line : listing) {
        out += text::visibleText(line);
        out += '\n';
    }
    services.console.writeOutput(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(out.data()), out.size()));
}

}  // namespace tresk
