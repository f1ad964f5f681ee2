#include "common/property_list.h"

namespace tresk {

const PropertyList* PropertyList::find(std::string_view key) const {
    const auto* entries = asDictionary();
    if (!entries) return nullptr;
    for (const auto& [k, v] : *entries) {
        if (const auto* text = k.asText(); text && *text == key) return &v;
    }
    return nullptr;
}

}  // namespace tresk
