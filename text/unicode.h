// The Unicode operations the program needs, through ICU's C API: Debian's
// ICU on Linux, the system's own (libicucore) on macOS. Plain ASCII text is
// answered without ICU, with exactly ICU's results.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tresk::text {

// The text as one line fit for a terminal and shown in the order it is
// read: control characters (C0, DEL, C1), the line and paragraph separators
// and the bidirectional controls written as visible escapes (\x1b for C0 and
// DEL, \u009b, \u2028, \u202e for the others), ill-formed bytes as \xff;
// everything else unchanged. The one rule for text from outside the program.
std::string visibleText(std::string_view bytes);

// Well-formed UTF-8 that visibleText leaves as it is.
bool isVisibleText(std::string_view bytes);

// Well-formed UTF-8.
bool isUtf8(std::string_view bytes);

// UTF-16 of well-formed UTF-8, none otherwise. A byte-order mark is a
// character like any other: it stays, at the start too.
std::optional<std::u16string> utf16FromUtf8(std::string_view utf8);

// Unicode default full lower-case mapping (root locale, not the user's).
// Bytes that are not UTF-8 stay as they are, never repaired.
std::string toLower(std::string_view utf8);

// Canonical composition (NFC).
std::string toNFC(std::string_view utf8);
// Whether toNFC would leave the text as it is (always for ASCII).
bool isNFC(std::string_view utf8);

// Byte offset of the first grapheme cluster that is exactly `cluster`.
std::optional<std::size_t> findCluster(std::string_view utf8, std::string_view cluster);

// The first `count` grapheme clusters, whole.
std::string prefixClusters(std::string_view utf8, std::size_t count);

// The same operations always through ICU, without the ASCII shortcuts, so
// tests can hold the two against each other.
namespace throughIcu {
std::string toLower(std::string_view utf8);
std::string toNFC(std::string_view utf8);
std::optional<std::size_t> findCluster(std::string_view utf8, std::string_view cluster);
std::string prefixClusters(std::string_view utf8, std::size_t count);
}  // namespace throughIcu

}  // namespace tresk::text
