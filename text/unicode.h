// The Unicode operations the program needs, all through ICU.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tresk::text {

// Bytes read as UTF-8; ill-formed sequences become U+FFFD.
std::string repairUtf8(std::string_view bytes);

// Unicode default full lower-case mapping (root locale, not the user's).
std::string toLower(std::string_view utf8);

// Canonical composition (NFC).
std::string toNFC(std::string_view utf8);

// Byte offset of the first grapheme cluster that is exactly `cluster`.
std::optional<std::size_t> findCluster(std::string_view utf8, std::string_view cluster);

// The first `count` grapheme clusters, whole.
std::string prefixClusters(std::string_view utf8, std::size_t count);

}  // namespace tresk::text
