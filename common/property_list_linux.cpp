#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include <plist/plist.h>
#include <unicode/ucnv.h>

#include "common/property_list.h"

namespace tresk {
namespace {

PropertyList convert(plist_t node, int depthLeft) {
    const plist_type type = plist_get_node_type(node);
    // Nesting deeper than any answer the program reads is not looked into.
    if ((type == PLIST_ARRAY || type == PLIST_DICT) && depthLeft == 0) return PropertyList::other();
    switch (type) {
        case PLIST_BOOLEAN: {
            std::uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return PropertyList::boolean(value != 0);
        }
        case PLIST_STRING:
        case PLIST_KEY: {
            std::uint64_t length = 0;
            const char* text = plist_get_string_ptr(node, &length);
            return PropertyList::text(text ? std::string(text, length) : std::string());
        }
        case PLIST_DATA: {
            std::uint64_t length = 0;
            const char* data = plist_get_data_ptr(node, &length);
            return PropertyList::data(Bytes::copyOf(
                std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data), length)));
        }
        case PLIST_ARRAY: {
            PropertyList::Array items;
            items.reserve(plist_array_get_size(node));
            // Walked in order: asking for item i is linear in i on binary lists.
            plist_array_iter it = nullptr;
            plist_array_new_iter(node, &it);
            for (plist_t item = nullptr;;) {
                plist_array_next_item(node, it, &item);
                if (!item) break;
                items.push_back(convert(item, depthLeft - 1));
            }
            std::free(it);
            return PropertyList::array(std::move(items));
        }
        case PLIST_DICT: {
            PropertyList::Dictionary entries;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(node, it, &key, &value);
                if (!value) break;
                entries.emplace_back(PropertyList::text(key ? key : ""), convert(value, depthLeft - 1));
                std::free(key);
            }
            std::free(it);
            return PropertyList::dictionary(std::move(entries));
        }
        default:
            return PropertyList::other();
    }
}

// libplist reads XML as UTF-8 and nothing else. As the platform's reader
// does, a byte-order mark, UTF-16 (marked or not) or another encoding the
// declaration names is converted first.
Expected<std::string> xmlAsUtf8(std::string_view xml) {
    struct Mark {
        std::string_view bytes, encoding;
        bool dropped;  // a byte-order mark, not the text's first character
    };
    static constexpr Mark marks[] = {
        {{"\xEF\xBB\xBF", 3}, "UTF-8", true},
        {{"\xFF\xFE\x00\x00", 4}, "UTF-32LE", true},
        {{"\x00\x00\xFE\xFF", 4}, "UTF-32BE", true},
        {{"\xFF\xFE", 2}, "UTF-16LE", true},
        {{"\xFE\xFF", 2}, "UTF-16BE", true},
        {{"<\x00?\x00", 4}, "UTF-16LE", false},
        {{"\x00<\x00?", 4}, "UTF-16BE", false},
    };
    std::string_view encoding = "UTF-8";
    for (const Mark& mark : marks) {
        if (!xml.starts_with(mark.bytes)) continue;
        encoding = mark.encoding;
        if (mark.dropped) xml.remove_prefix(mark.bytes.size());
        break;
    }
    if (encoding == "UTF-8") {
        // <?xml version="1.0" encoding="..."?>, if the declaration names one.
        const std::string_view declaration = xml.substr(0, xml.starts_with("<?xml") ? xml.find("?>") : 0);
        const std::size_t key = declaration.find("encoding");
        const std::size_t open = declaration.find_first_of("\"'", key);
        const std::size_t close = open == std::string_view::npos ? open : declaration.find(declaration[open], open + 1);
        if (key != std::string_view::npos && close != std::string_view::npos) {
            encoding = declaration.substr(open + 1, close - open - 1);
        }
    }
    if (ucnv_compareNames(std::string(encoding).c_str(), "UTF-8") == 0) return std::string(xml);
    const std::string from(encoding);
    const Problem unconverted{"XML in an encoding ICU cannot convert: " + from};
    if (xml.size() > static_cast<std::size_t>(INT32_MAX) / 4) return unconverted;
    std::string utf8(xml.size() * 4, '\0');  // 4 bytes of UTF-8 at most for each byte read
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_convert("UTF-8", from.c_str(), utf8.data(), static_cast<int32_t>(utf8.size()),
                                        xml.data(), static_cast<int32_t>(xml.size()), &status);
    if (U_FAILURE(status)) return unconverted;
    utf8.resize(static_cast<std::size_t>(length));
    return utf8;
}

}  // namespace

Expected<PropertyList> parseWithSystemReader(std::span<const std::uint8_t> bytes) {
    const Problem notAPropertyList{"not a property list libplist reads"};
    if (bytes.empty() || bytes.size() > std::numeric_limits<std::uint32_t>::max()) return notAPropertyList;
    const auto* data = reinterpret_cast<const char*>(bytes.data());
    const auto size = static_cast<std::uint32_t>(bytes.size());
    plist_t root = nullptr;
    // Read as the encoding decided here, never guessed again from the bytes:
    // only a list already judged bounded may reach the binary reader (one
    // with a NUL in a key would make libplist's key accessor abort), never
    // text that starts "bplist00" once its byte-order mark is gone.
    if (plist_is_binary(data, size)) {
        plist_from_bin(data, size, &root);
    } else {
        auto xml = xmlAsUtf8({data, size});
        if (!xml) return xml.problem();
        if (xml->size() > std::numeric_limits<std::uint32_t>::max()) return notAPropertyList;
        plist_from_xml(xml->data(), static_cast<std::uint32_t>(xml->size()), &root);
    }
    std::unique_ptr<void, decltype(&plist_free)> tree(root, &plist_free);
    if (!tree) return notAPropertyList;
    return convert(tree.get(), maxPropertyListDepth);
}

}  // namespace tresk
