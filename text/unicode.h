// The Unicode operations the program needs, through ICU's C API: Debian's
// ICU on Linux, the system's own (libicucore) on macOS. Plain ASCII text is
// answered without ICU, with exactly ICU's results.
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

// Whether the regular expression (ICU syntax) matches somewhere in the text.
bool regexFinds(std::string_view pattern, std::string_view utf8);

// The same operations always through ICU, without the ASCII shortcuts, so
// tests can hold the two against each other.
namespace library {
std::string toLower(std::string_view utf8);
std::string toNFC(std::string_view utf8);
std::optional<std::size_t> findCluster(std::string_view utf8, std::string_view cluster);
std::string prefixClusters(std::string_view utf8, std::size_t count);
}  // namespace library

}  // namespace tresk::text
