// One table of text cases for both platforms: the Linux build runs it against
// Debian's ICU, the macOS build against the system's, so a difference between
// the two fails here. Plain ASCII takes shortcuts that must give ICU's answers.
#include <cstddef>
#include <optional>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "text/unicode.h"

namespace tresk {
namespace {

const std::string acute = "\xCC\x81";        // U+0301 COMBINING ACUTE ACCENT
const std::string zwj = "\xE2\x80\x8D";      // U+200D ZERO WIDTH JOINER
const std::string woman = "\xF0\x9F\x91\xA9";  // U+1F469
const std::string girl = "\xF0\x9F\x91\xA7";   // U+1F467
const std::string flagDE = "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA";

TEST(Text, LowerCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"ADD", "add"},
        {"LiSt", "list"},
        {"--Version", "--version"},
        {"\xC3\x84" "DD", "\xC3\xA4" "dd"},              // Ä
        {"\xC4\xB0", "i\xCC\x87"},                        // İ: i and a combining dot, not the Turkish i
        {"I", "i"},                                       // no locale: never the dotless ı
        {"\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3", "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82"},  // ΟΔΟΣ: final sigma
        {"\xCE\xA3\xCE\x91", "\xCF\x83\xCE\xB1"},         // ΣΑ: not final
        {"\xCE\xA3", "\xCF\x83"},                         // Σ alone
        {"\xE1\xBA\x9E", "\xC3\x9F"},                     // ẞ
        {"A\r\nB\x01", "a\r\nb\x01"},
        {"", ""},
        // bytes that are not UTF-8 kept, and a sigma before them final
        {"\xFF" "ADD\xC3", "\xFF" "add\xC3"},
        {"\xCE\x9F\xCE\xA3\xFF\xCE\xA3\xCE\x91", "\xCE\xBF\xCF\x82\xFF\xCF\x83\xCE\xB1"},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(in);
        EXPECT_EQ(text::toLower(in), out);
        EXPECT_EQ(text::throughIcu::toLower(in), out);
    }
}

TEST(Text, SlashClusters) {
    const struct {
        std::string text;
        std::optional<std::size_t> slash;
    } cases[] = {
        {"a/b", 1},
        {"/", 0},
        {"ns/a/b", 2},
        {"", std::nullopt},
        {"nokey", std::nullopt},
        {"a/" + acute, std::nullopt},                  // a slash with a mark is another character
        {"a/" + acute + "x/y", 5},                     // ... so the next plain one separates
        {"a" + acute + "/b", 3},                       // a mark on the letter before does not matter
        {"/" + zwj + "x", std::nullopt},               // nothing may join to the slash
        {"a" + zwj + "/b", 4},                         // a joiner before it stays with the letter
        {woman + zwj + woman + zwj + girl + "/k", 18},  // one ZWJ sequence, then the slash
        {flagDE + "/k", 8},
        {"\r\n/", 2},
        {"\xC3\xA9t\xC3\xA9/cl\xC3\xA9", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text::findCluster(c.text, "/"), c.slash);
        EXPECT_EQ(text::throughIcu::findCluster(c.text, "/"), c.slash);
    }
}

TEST(Text, FirstSevenCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"abcdef0123456789", "abcdef0"},
        {"abc", "abc"},
        {"", ""},
        {"\r\nabcdefgh", "\r\nabcdef"},  // CR LF is one character
        {"abcdef\r\nx", "abcdef\r\n"},
        {"\n\rabcdef", "\n\rabcde"},     // LF CR is two
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9" "e" + acute + "xyz",
         "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9" "e" + acute},
        {woman + zwj + girl + "abcdefg", woman + zwj + girl + "abcdef"},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(in);
        EXPECT_EQ(text::prefixClusters(in, 7), out);
        EXPECT_EQ(text::throughIcu::prefixClusters(in, 7), out);
    }
}

TEST(Text, CanonicalComposition) {
    const std::pair<std::string, std::string> cases[] = {
        {"e" + acute, "\xC3\xA9"},                          // é decomposed
        {"\xC3\xA9", "\xC3\xA9"},                           // é precomposed
        {"\xE1\x84\x80\xE1\x85\xA1", "\xEA\xB0\x80"},       // Hangul jamo to syllable
        {"\xE2\x84\xAB", "\xC3\x85"},                       // ANGSTROM SIGN to Å
        {"\xEF\xBD\x81", "\xEF\xBD\x81"},                   // fullwidth a: compatibility only, kept
        {"a\xCC\xA3\xCC\x87", "\xE1\xBA\xA1\xCC\x87"},      // marks reordered, then composed
        {"ns/a", "ns/a"},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(in);
        EXPECT_EQ(text::toNFC(in), out);
        EXPECT_EQ(text::throughIcu::toNFC(in), out);
    }
}

// What is shown as an escape, and as which: the characters that break a line
// (C0, DEL, C1, U+2028, U+2029) or reorder it (the bidirectional controls),
// and bytes that are not UTF-8. The range ends and their neighbours are rows.
TEST(Text, VisibleText) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"},
        {"x\nError: forged", "x\\x0aError: forged"},
        {"\x1b[2J\x1b]0;title\x07", "\\x1b[2J\\x1b]0;title\\x07"},
        {"a\rb\tc\x7f", "a\\x0db\\x09c\\x7f"},
        {std::string("nul\0in", 6), "nul\\x00in"},
        {"\x1f \x20 \x7e", "\\x1f \x20 \x7e"},
        {"c1 \xC2\x9B[31m \xC2\x85", "c1 \\u009b[31m \\u0085"},   // CSI and NEL
        {"\xC2\x80|\xC2\x9F|\xC2\xA0", "\\u0080|\\u009f|\xC2\xA0"},  // C1 from its first to its last; NBSP is text
        {"line\xE2\x80\xA8sep \xE2\x80\xA9", "line\\u2028sep \\u2029"},
        {"\xE2\x80\xAA" "a\xE2\x80\xAE" "b\xE2\x80\xAB", "\\u202aa\\u202eb\\u202b"},  // embeddings and overrides
        {"\xE2\x81\xA6x\xE2\x81\xA9", "\\u2066x\\u2069"},                    // isolates
        {"\xE2\x80\x8Fr\xE2\x80\x8E", "\\u200fr\\u200e"},                    // marks
        {"\xE2\x80\xA7\xE2\x81\xAA", "\xE2\x80\xA7\xE2\x81\xAA"},            // beside the ranges: text
        {"\xC3\xA9t\xC3\xA9 \xF0\x9F\x94\x91", "\xC3\xA9t\xC3\xA9 \xF0\x9F\x94\x91"},
        {"bad \xFF\xFE end", "bad \\xff\\xfe end"},
        {"cut \xE2\x82", "cut \\xe2\\x82"},
        {"\x80", "\\x80"},
        {"back\\slash", "back\\slash"},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(::testing::PrintToString(in));
        EXPECT_EQ(text::visibleText(in), out);
        EXPECT_TRUE(text::isVisibleText(text::visibleText(in)));
        EXPECT_EQ(text::isVisibleText(in), in == out);
    }
}

// Text that is shown as it is: well-formed, and nothing in it escaped.
TEST(Text, IsVisibleText) {
    const std::pair<std::string, bool> cases[] = {
        {"ns/key", true},
        {"\xC3\xA9/\xF0\x9F\x94\x91", true},
        {"\xEF\xBF\xBD", true},      // a real U+FFFD is text
        {"\xFF/k", false},
        {"\xFE/k", false},
        {"\x80/k", false},            // a lone continuation byte, never ASCII
        {"\xC0\xAF", false},          // overlong "/"
        {"\xED\xA0\x80", false},     // a surrogate
        {"a\nb", false},
        {std::string("a\0b", 3), false},
        {"a\x7f", false},
        {"a\xC2\x80", false},         // C1
        {"a\xC2\x9F", false},
        {"a\xE2\x80\xA8", false},     // line separator
        {"a\xE2\x80\xAE", false},     // right-to-left override
        {"a\xC2\xA0", true},          // no-break space: after C1
        {"a\x1F", false},
        {"a ~", true},
        {"\x7F\x80", false},
        {"", true},
    };
    for (const auto& [in, visible] : cases) EXPECT_EQ(text::isVisibleText(in), visible) << ::testing::PrintToString(in);
}

// What the macOS conversion to CFString is built from: a leading byte-order
// mark is kept, so "\uFEFFns/k" and "ns/k" stay two names.
TEST(Text, Utf16KeepsEveryCharacter) {
    EXPECT_EQ(text::utf16FromUtf8("\xEF\xBB\xBFns/k"), std::u16string(u"\uFEFFns/k"));
    EXPECT_EQ(text::utf16FromUtf8("ns/\xEF\xBB\xBFk"), std::u16string(u"ns/\uFEFFk"));
    EXPECT_EQ(text::utf16FromUtf8("\xF0\x9F\x94\x91"), std::u16string(u"\U0001F511"));
    EXPECT_EQ(text::utf16FromUtf8(""), std::u16string());
    EXPECT_EQ(text::utf16FromUtf8(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(text::utf16FromUtf8("\xFF"), std::nullopt);
    EXPECT_EQ(text::utf16FromUtf8("\xC3"), std::nullopt);
}

// The ASCII shortcuts against ICU itself, over text made of the characters
// where they could go wrong: case, CR and LF, controls and the slash.
TEST(Text, AsciiShortcutsGiveIcusAnswers) {
    const char alphabet[] = "aZ/\r\n\x01\x7f\x80 -.0";  // 0x80: the first byte that is not ASCII
    std::mt19937 random(9);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2), length(0, 12);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (std::size_t i = length(random); i > 0; --i) text += alphabet[pick(random)];
        SCOPED_TRACE(::testing::PrintToString(text));
        ASSERT_EQ(text::isVisibleText(text), text.find_first_of("\r\n\x01\x7f\x80") == std::string::npos);
        ASSERT_EQ(text::toLower(text), text::throughIcu::toLower(text));
        ASSERT_EQ(text::toNFC(text), text::throughIcu::toNFC(text));
        ASSERT_EQ(text::findCluster(text, "/"), text::throughIcu::findCluster(text, "/"));
        for (std::size_t count : {0, 1, 7}) {
            ASSERT_EQ(text::prefixClusters(text, count), text::throughIcu::prefixClusters(text, count));
        }
    }
}

}  // namespace
}  // namespace tresk
