#include "text/unicode.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace tresk::text {
namespace {

std::string toUtf8(const icu::UnicodeString& s) {
    std::string out;
    s.toUTF8String(out);
    return out;
}

icu::UnicodeString fromUtf8(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

// Walks grapheme clusters; calls f(begin, end) in UTF-16 offsets until it returns false.
template <typename F>
void forEachCluster(const icu::UnicodeString& s, F f) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !it) return;  // ICU data missing: treat text as one opaque run
    it->setText(s);
    int32_t begin = it->first();
    for (int32_t end = it->next(); end != icu::BreakIterator::DONE; begin = end, end = it->next()) {
        if (!f(begin, end)) return;
    }
}

}  // namespace

std::string repairUtf8(std::string_view bytes) { return toUtf8(fromUtf8(bytes)); }

std::string toLower(std::string_view utf8) {
    icu::UnicodeString s = fromUtf8(utf8);
    s.toLower(icu::Locale::getRoot());
    return toUtf8(s);
}

std::string toNFC(std::string_view utf8) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    icu::UnicodeString s = fromUtf8(utf8);
    if (U_FAILURE(status)) return toUtf8(s);
    icu::UnicodeString out = nfc->normalize(s, status);
    return U_SUCCESS(status) ? toUtf8(out) : toUtf8(s);
}

std::optional<std::size_t> findCluster(std::string_view utf8, std::string_view cluster) {
    icu::UnicodeString s = fromUtf8(utf8);
    icu::UnicodeString wanted = fromUtf8(cluster);
    std::optional<std::size_t> found;
    forEachCluster(s, [&](int32_t begin, int32_t end) {
        if (s.compare(begin, end - begin, wanted) == 0) {
            found = toUtf8(s.tempSubString(0, begin)).size();
            return false;
        }
        return true;
    });
    return found;
}

std::string prefixClusters(std::string_view utf8, std::size_t count) {
    icu::UnicodeString s = fromUtf8(utf8);
    int32_t cut = s.length();
    std::size_t seen = 0;
    forEachCluster(s, [&](int32_t, int32_t end) {
        if (++seen == count) {
            cut = end;
            return false;
        }
        return true;
    });
    if (count == 0) cut = 0;
    return toUtf8(s.tempSubString(0, cut));
}

}  // namespace tresk::text
