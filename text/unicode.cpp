#include "text/unicode.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

// ICU's C API only: its C++ classes have no stable ABI across the system
// library's versions on macOS.
namespace tresk::text {
namespace {

constexpr UChar32 replacementCharacter = 0xFFFD;

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ICU counts in int32_t: longer text is beyond what this program can hold,
// as a std::string beyond max_size() is.
int32_t icuLength(std::size_t size) {
    if (size > INT32_MAX / 4) throw std::length_error("text too long for ICU");
    return static_cast<int32_t>(size);
}

// ICU's data ships with the library, so the calls here fail only when ICU
// cannot allocate: to the program, memory that ran out, never an answer.
void check(UErrorCode status) {
    if (U_FAILURE(status)) throw std::bad_alloc();
}

// For comparison only: ill-formed sequences become U+FFFD.
std::u16string toUtf16(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');  // UTF-16 never needs more units than UTF-8 has bytes
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), icuLength(out.size()), &length, utf8.data(), icuLength(utf8.size()),
                         replacementCharacter, nullptr, &status);
    check(status);
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out(utf16.size() * 3, '\0');  // at most three bytes for each UTF-16 unit
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), icuLength(out.size()), &length, utf16.data(), icuLength(utf16.size()),
                       replacementCharacter, nullptr, &status);
    check(status);
    out.resize(static_cast<std::size_t>(length));
    return out;
}

// Runs `fill(dest, capacity, status)` once to learn the size, then again into
// a buffer of that size: the shape of ICU's string functions.
template <typename Fill>
std::u16string preflighted(Fill fill) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = fill(nullptr, 0, status);
    if (status != U_BUFFER_OVERFLOW_ERROR) check(status);
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    length = fill(out.data(), length, status);
    check(status);
    out.resize(static_cast<std::size_t>(length));
    return out;
}

using UTextOwner = std::unique_ptr<UText, decltype(&utext_close)>;
using BreakIteratorOwner = std::unique_ptr<UBreakIterator, decltype(&ubrk_close)>;

// Calls f(begin, end), byte offsets of each grapheme cluster, until it returns
// false. The UTF-8 is read in place (ill-formed bytes as U+FFFD), so the
// offsets are into `utf8`.
template <typename F>
void forEachCluster(std::string_view utf8, F f) {
    UErrorCode status = U_ZERO_ERROR;
    UTextOwner text(utext_openUTF8(nullptr, utf8.data(), icuLength(utf8.size()), &status), &utext_close);
    BreakIteratorOwner clusters(ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status), &ubrk_close);
    check(status);
    ubrk_setUText(clusters.get(), text.get(), &status);
    check(status);
    int32_t begin = ubrk_first(clusters.get());
    for (int32_t end = ubrk_next(clusters.get()); end != UBRK_DONE; begin = end, end = ubrk_next(clusters.get())) {
        if (!f(static_cast<std::size_t>(begin), static_cast<std::size_t>(end))) return;
    }
}

// Calls f(codePoint, begin, end) for each character; an ill-formed sequence
// comes as a negative code point.
template <typename F>
void forEachCodePoint(std::string_view utf8, F f) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<int64_t>(utf8.size());
    for (int64_t i = 0; i < length;) {
        const int64_t begin = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        f(c, static_cast<std::size_t>(begin), static_cast<std::size_t>(i));
    }
}

// The one rule for what never reaches a stream as it is: control characters
// (C0, DEL, C1), the line and paragraph separators, which end a line for a
// reader that splits the Unicode way, and the bidirectional controls, which
// make a line show in another order than it is read.
bool mustEscape(UChar32 c) {
    if (c < 0x80) return c < 0x20 || c == 0x7F;
    const auto type = static_cast<UCharCategory>(u_charType(c));
    return type == U_CONTROL_CHAR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR ||
           u_hasBinaryProperty(c, UCHAR_BIDI_CONTROL);
}

bool isPrintableAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

}  // namespace

namespace throughIcu {

std::string toLower(std::string_view utf8) {
    // Each well-formed run is lower-cased on its own, the bytes between kept:
    // the context a run's ends see (a final sigma) is the one U+FFFD in
    // their place would give, which is neither cased nor case-ignorable.
    auto lower = [](std::string_view run) {
        const std::u16string text = toUtf16(run);
        return toUtf8(preflighted([&](UChar* dest, int32_t capacity, UErrorCode& status) {
            return u_strToLower(dest, capacity, text.data(), static_cast<int32_t>(text.size()), "", &status);
        }));
    };
    std::string out;
    std::size_t run = 0;
    forEachCodePoint(utf8, [&](UChar32 c, std::size_t begin, std::size_t end) {
        if (c >= 0) return;
        out += lower(utf8.substr(run, begin - run));
        out += utf8.substr(begin, end - begin);
        run = end;
    });
    return out + lower(utf8.substr(run));
}

std::string toNFC(std::string_view utf8) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    check(status);
    const std::u16string text = toUtf16(utf8);
    const auto length = static_cast<int32_t>(text.size());
    const bool composed = unorm2_quickCheck(nfc, text.data(), length, &status) == UNORM_YES;
    check(status);
    if (composed) return toUtf8(text);
    return toUtf8(preflighted([&](UChar* dest, int32_t capacity, UErrorCode& error) {
        return unorm2_normalize(nfc, text.data(), length, dest, capacity, &error);
    }));
}

std::optional<std::size_t> findCluster(std::string_view utf8, std::string_view cluster) {
    std::optional<std::size_t> found;
    forEachCluster(utf8, [&](std::size_t begin, std::size_t end) {
        if (utf8.substr(begin, end - begin) != cluster) return true;
        found = begin;
        return false;
    });
    return found;
}

std::string prefixClusters(std::string_view utf8, std::size_t count) {
    std::size_t cut = count == 0 ? 0 : utf8.size(), seen = 0;
    if (count > 0) {
        forEachCluster(utf8, [&](std::size_t, std::size_t end) {
            if (++seen < count) return true;
            cut = end;
            return false;
        });
    }
    return std::string(utf8.substr(0, cut));
}

}  // namespace throughIcu

bool isVisibleText(std::string_view bytes) {
    if (isPrintableAscii(bytes)) return true;
    bool visible = true;
    forEachCodePoint(bytes, [&](UChar32 c, std::size_t, std::size_t) { visible = visible && c >= 0 && !mustEscape(c); });
    return visible;
}

bool isUtf8(std::string_view bytes) {
    bool wellFormed = true;
    forEachCodePoint(bytes, [&](UChar32 c, std::size_t, std::size_t) { wellFormed = wellFormed && c >= 0; });
    return wellFormed;
}

std::string visibleText(std::string_view bytes) {
    if (isPrintableAscii(bytes)) return std::string(bytes);
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size());
    forEachCodePoint(bytes, [&](UChar32 c, std::size_t begin, std::size_t end) {
        if (c >= 0 && !mustEscape(c)) {
            out.append(bytes.substr(begin, end - begin));
        } else if (c >= 0x80) {
            // Every character escaped is in the Basic Multilingual Plane.
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += hex[(c >> shift) & 0xF];
        } else {
            for (std::size_t i = begin; i < end; ++i) {
                const auto b = static_cast<unsigned char>(bytes[i]);
                out += "\\x";
                out += hex[b >> 4];
                out += hex[b & 0xF];
            }
        }
    });
    return out;
}

std::optional<std::u16string> utf16FromUtf8(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    // No substitute character: an ill-formed sequence is an error.
    u_strFromUTF8(out.data(), icuLength(out.size()), &length, utf8.data(), icuLength(utf8.size()), &status);
    if (status == U_INVALID_CHAR_FOUND) return std::nullopt;
    check(status);
    out.resize(static_cast<std::size_t>(length));
    return out;
}

// For plain ASCII the answers are known without ICU: the default mappings
// change only A-Z, NFC changes nothing, and every character is a cluster of
// its own except CR LF, which is one.
std::string toLower(std::string_view utf8) {
    if (!isAscii(utf8)) return throughIcu::toLower(utf8);
    std::string lower(utf8);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string toNFC(std::string_view utf8) { return isAscii(utf8) ? std::string(utf8) : throughIcu::toNFC(utf8); }

bool isNFC(std::string_view utf8) { return isAscii(utf8) || throughIcu::toNFC(utf8) == utf8; }

std::optional<std::size_t> findCluster(std::string_view utf8, std::string_view cluster) {
    const bool plainCharacter = cluster.size() == 1 && cluster[0] != '\r' && cluster[0] != '\n' && isAscii(cluster);
    if (!plainCharacter || !isAscii(utf8)) return throughIcu::findCluster(utf8, cluster);
    std::size_t at = utf8.find(cluster[0]);
    if (at == std::string_view::npos) return std::nullopt;
    return at;
}

std::string prefixClusters(std::string_view utf8, std::size_t count) {
    if (!isAscii(utf8)) return throughIcu::prefixClusters(utf8, count);
    std::size_t cut = 0;
    for (std::size_t seen = 0; seen < count && cut < utf8.size(); ++seen) {
        cut += utf8.compare(cut, 2, "\r\n") == 0 ? 2 : 1;
    }
    return std::string(utf8.substr(0, cut));
}

}  // namespace tresk::text
