#include "store/listing_order.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

#include "text/unicode.h"

namespace tresk {

void sortListing(std::vector<std::string>& entries) {
    // One key per entry, made once: the entry itself where NFC leaves it as it
    // is (always for ASCII), else its NFC form. UTF-8 compared byte by byte,
    // as std::string_view does, is code-point order.
    std::vector<std::string> composed;
    composed.reserve(entries.size());  // never reallocated: the keys point into it
    std::vector<std::pair<std::string_view, std::size_t>> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (text::isNFC(entries[i])) {
            keyed.emplace_back(entries[i], i);
        } else {
            composed.push_back(text::toNFC(entries[i]));
            keyed.emplace_back(composed.back(), i);
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> sorted;
    sorted.reserve(entries.size());
    for (const auto& [key, index] : keyed) sorted.push_back(std::move(entries[index]));
    entries = std::move(sorted);
}

}  // namespace tresk
