#include "store/listing_order.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "text/unicode.h"

namespace tresk {

void sortListing(std::vector<std::string>& entries) {
    // UTF-8 byte order is code-point order; normalise once per entry, not per comparison.
    std::vector<std::pair<std::string, std::size_t>> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) keyed.emplace_back(text::toNFC(entries[i]), i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> sorted;
    sorted.reserve(entries.size());
    for (auto& [normalised, index] : keyed) sorted.push_back(std::move(entries[index]));
    entries = std::move(sorted);
}

}  // namespace tresk
