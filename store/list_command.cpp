#include <optional>
#include <string>
#include <vector>

#include "common/bytes.h"
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

    // Only the names are read of each item's attributes.
    constexpr Attribute names[] = {Attribute::Service, Attribute::Account};
    requireAccessGroupEntitlement(self, services.keychain);
    CopyResult found = services.keychain.copyMatching(query, names);
    if (found.status.status == status::itemNotFound) return;  // an empty store lists nothing
    if (found.status.status != status::success) settle(self, found.status);
    // The whole result is judged before a line is printed.
    if (!isArrayOfTextKeyedDictionaries(found.result)) fail(messages::unexpectedData);

    std::vector<std::string> listing;
    listing.reserve(found.result.asArray()->size());
    for (const auto& item : *found.result.asArray()) {
        const PropertyList* service = item.find(serviceAttributeName);
        const PropertyList* account = item.find(accountAttributeName);
        if (!service || !service->asText() || !account || !account->asText()) continue;
        std::string line;
        line.reserve(service->asText()->size() + 1 + account->asText()->size());
        line.append(*service->asText()).append("/").append(*account->asText());
        listing.push_back(std::move(line));
    }
    found.result = PropertyList();  // not needed any more, and the largest thing held
    sortListing(listing);

    // A name stored before such names were refused, or by another program,
    // must not break or reorder a line, or reach a terminal raw.
    std::size_t size = 0;
    for (const auto& line : listing) size += line.size() + 1;
    std::string out;
    out.reserve(size);
    for (const auto& line : listing) {
        out += text::visibleText(line);
        out += '\n';
    }
    services.console.writeOutput(bytesOf(out));
}

}  // namespace tresk
