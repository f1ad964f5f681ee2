#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "harness/binary_plist.h"
#include "identity/executable_location.h"
#include "identity/version.h"
#include "text/unicode.h"

namespace tresk {
namespace {

using namespace tresk::fixtures;

Expected<PropertyList> parse(std::string_view text) {
    return parsePropertyList(bytesOf(text));
}

std::string xml(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n";
}

std::string infoPlist(const std::string& version, const std::string& commit, const std::string& dirty) {
    return xml("<dict><key>CFBundleName</key><string>Tresk</string>" + version + commit + dirty + "</dict>");
}

const std::string v210 = "<key>CFBundleShortVersionString</key><string>2.1.0</string>";
const std::string rev = "<key>TreskGitCommit</key><string>abcdef0123456789</string>";
const std::string clean = "<key>TreskBuildDirty</key><false/>";
const std::string dirty = "<key>TreskBuildDirty</key><true/>";

TEST(VersionLine, FromInfoPlist) {
    struct Case {
        std::string plist;
        std::optional<std::string> line;
    } cases[] = {
        {infoPlist(v210, rev, clean), "Tresk 2.1.0 (abcdef0)"},
        {infoPlist(v210, rev, dirty), "Tresk 2.1.0 (abcdef0-dirty)"},
        {infoPlist(v210, "<key>TreskGitCommit</key><string>abc</string>", clean), "Tresk 2.1.0 (abc)"},
        {infoPlist(v210, "<key>TreskGitCommit</key><string></string>", dirty), "Tresk 2.1.0 (-dirty)"},
        {infoPlist("<key>CFBundleShortVersionString</key><string></string>", rev, clean), "Tresk  (abcdef0)"},
        // seven whole characters, never a cut through one
        {infoPlist(v210, "<key>TreskGitCommit</key><string>\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9" "e\xCC\x81xyz</string>", clean),
         "Tresk 2.1.0 (\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9" "e\xCC\x81)"},
        {infoPlist("", rev, clean), std::nullopt},
        {infoPlist(v210, "", clean), std::nullopt},
        {infoPlist(v210, rev, ""), std::nullopt},
        {infoPlist("<key>CFBundleShortVersionString</key><real>2.1</real>", rev, clean), std::nullopt},
        {infoPlist(v210, "<key>TreskGitCommit</key><data>YWJj</data>", clean), std::nullopt},
        {infoPlist(v210, rev, "<key>TreskBuildDirty</key><string>YES</string>"), std::nullopt},
        // a true boolean only: the numbers 0 and 1 are refused as well
        {infoPlist(v210, rev, "<key>TreskBuildDirty</key><integer>1</integer>"), std::nullopt},
        {infoPlist(v210, rev, "<key>TreskBuildDirty</key><integer>0</integer>"), std::nullopt},
        {xml("<array><string>2.1.0</string></array>"), std::nullopt},
    };
    for (const auto& c : cases) {
        auto plist = parse(c.plist);
        ASSERT_TRUE(plist) << c.plist;
        EXPECT_EQ(versionLine(*plist), c.line) << c.plist;
    }
}

TEST(VersionLine, BinaryPropertyList) {
    const std::string binary("\x62\x70\x6c\x69\x73\x74\x30\x30\xd3\x01\x02\x03\x04\x05\x06\x5f\x10\x1a\x43\x46\x42\x75\x6e\x64\x6c\x65\x53\x68\x6f\x72\x74\x56\x65\x72\x73\x69\x6f\x6e\x53\x74\x72\x69\x6e\x67\x5f\x10\x0f\x54\x72\x65\x73\x6b\x42\x75\x69\x6c\x64\x44\x69\x72\x74\x79\x5e\x54\x72\x65\x73\x6b\x47\x69\x74\x43\x6f\x6d\x6d\x69\x74\x55\x32\x2e\x31\x2e\x30\x09\x5f\x10\x10\x61\x62\x63\x64\x65\x66\x30\x31\x32\x33\x34\x35\x36\x37\x38\x39\x08\x0f\x2c\x3e\x4d\x53\x54\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x07\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x67", 142);
    auto plist = parse(binary);
    ASSERT_TRUE(plist);
    EXPECT_EQ(versionLine(*plist), "Tresk 2.1.0 (abcdef0-dirty)");
}

// A binary list whose dictionary keys hold NUL bytes once aborted the
// process inside the Linux parser (found by fuzzing).
const std::string binaryKeysWithNul(
    "\x62\x70\x6c\x69\x73\x74\x30\x30\xd5\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x5c\x43\x46\x42\x75\x6e\x64\x6c\x65"
    "\x4e\x5f\x6d\x1a\x65\x10\x61\x1e\x00\x00\x00\x6e\x64\x6c\x65\x53\x68\x6f\x72\x74\x56\x65\x72\x73\x69\x6f\x6e\x53"
    "\x74\x72\x69\x6e\x67\x5f\x10\x0f\x54\x72\x65\x73\x6b\x42\x75\x69\x6c\x64\x44\x69\x72\x74\x79\x5e\x54\x72\x65\x73"
    "\x6b\x47\x69\x74\x43\x6f\x6d\x6d\x69\x74\x54\x6c\x69\x73\x74\x55\x54\x72\x65\x73\x6b\x55\x32\x2e\x31\x2e\x30\x09"
    "\x5f\x10\x10\x61\x62\x63\x64\x65\x66\x30\x31\x32\x33\x34\x35\x36\x37\x38\x39\xa4\x0b\x0c\x0d\x0e\x10\x01\x23\x40"
    "\x04\x00\x00\x00\x00\x00\x00\x44\x64\x61\x74\x61\xd1\x0f\x10\x51\x6b\x51\x76\x08\x13\x20\x3d\x4f\x5e\x63\x69\x6f"
    "\x70\x83\x88\x8a\x93\x98\x9b\x9d\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x11\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x9f",
    208);

TEST(VersionLine, NotAPropertyList) {
    for (std::string text : {std::string(), std::string("Tresk 2.1.0"), std::string("bplist00\x01", 9),
                             xml("<dict><key>a</key>"), binaryKeysWithNul}) {
        auto plist = parse(text);
        EXPECT_TRUE(!plist || !versionLine(*plist)) << text;
    }
}

// Shared references cost what they would cost copied: a 600-byte list whose
// arrays each hold the next one twice, or a 60 KB list that refers to its one
// large string from everywhere, is refused, at once, however much the copies
// would come to; sharing within the bounds, and cycles' absence, are fine.
TEST(VersionLine, BinaryListsInBoundedWork) {
    const std::string sharedString = ascii("s");
    std::vector<int> twelve(12, 10);
    // Arrays 9 to 14 each holding the next twice, around array 15, which
    // holds the 60 KB string `times` times: 64 x `times` copies of it.
    auto sharingLargeString = [](int times) {
        std::vector<std::string> objects = doubling(6);
        objects.back() = container('\xA0', std::vector<int>(times, 16));
        objects.push_back(ascii(std::string(60000, 's')));
        return objects;
    };
    struct Case {
        std::string what, list;
        bool read;
    } cases[] = {
        {"no sharing", infoPlistWith(ascii("2.1.0"), {}), true},
        {"a string shared 12 times", infoPlistWith(ascii("2.1.0"), {container('\xA0', twelve), sharedString}, 9), true},
        {"doubling, 10 levels", infoPlistWith(ascii("2.1.0"), doubling(10), 9), true},
        {"doubling, 17 levels", infoPlistWith(ascii("2.1.0"), doubling(17), 9), false},
        {"doubling, 40 levels", infoPlistWith(ascii("2.1.0"), doubling(40), 9), false},
        {"a 60 KB string shared 16 times", infoPlistWith(ascii("2.1.0"), {container('\xA0', std::vector<int>(16, 10)), ascii(std::string(60000, 's'))}, 9), true},
        {"a 60 KB string shared 832 times", infoPlistWith(ascii("2.1.0"), sharingLargeString(13), 9), false},
        // Text once its mark is gone, so it is read as text, never as a binary list.
        {"doubling, behind a byte-order mark", "\xEF\xBB\xBF" + infoPlistWith(ascii("2.1.0"), doubling(40), 9), false},
        {"an array that holds itself", infoPlistWith(ascii("2.1.0"), {container('\xA0', {9, 9})}, 9), false},
        {"a reference past the last object", infoPlistWith(ascii("2.1.0"), {container('\xA0', {99})}, 9), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto started = std::chrono::steady_clock::now();
        auto plist = parse(c.list);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
        EXPECT_EQ(plist && versionLine(*plist) == "Tresk 2.1.0 (abcdef0)", c.read);
    }
}

// One reader keeps a NUL in a string and another cuts the string there: a
// list holding one is not read, so no version is shown cut short.
TEST(VersionLine, StringsWithNul) {
    const std::string utf16Nul("\x63\x00\x31\x00\x00\x00\x32", 7);  // "1", NUL, "2" in UTF-16
    for (const std::string& version : {ascii(std::string("1.0\0tail", 8)), utf16Nul}) {
        EXPECT_FALSE(parse(infoPlistWith(version, {}))) << ::testing::PrintToString(version);
    }
    EXPECT_TRUE(parse(infoPlistWith(ascii("1.0tail"), {})));
}

// XML as the platform's reader takes it: with a byte-order mark, in UTF-16,
// in the encoding its declaration names. A version that is not well-formed
// text is never shown as it is.
TEST(VersionLine, XmlEncodings) {
    const std::string keys = "<key>TreskGitCommit</key><string>abc</string><key>TreskBuildDirty</key><false/>";
    auto document = [&](const std::string& encoding, const std::string& version) {
        return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<plist version=\"1.0\"><dict>"
               "<key>CFBundleShortVersionString</key><string>" + version + "</string>" + keys + "</dict></plist>\n";
    };
    auto utf16 = [](const std::string& ascii, bool bigEndian) {
        std::string out;
        for (char c : ascii) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        return out;
    };
    const std::string plain = document("UTF-16", "2.1.0");
    struct Case {
        std::string what, bytes;
        std::optional<std::string> line;
        // The conversion Linux does before libplist reads the text is this
        // program's; what CoreFoundation makes of such a file was never seen
        // here, so on macOS it may also refuse it (never show it otherwise).
        bool platformMayRefuse = false;
    } cases[] = {
        {"UTF-8", document("UTF-8", "2.1.0"), "Tresk 2.1.0 (abc)"},
        {"a UTF-8 byte-order mark", "\xEF\xBB\xBF" + document("UTF-8", "2.1.0"), "Tresk 2.1.0 (abc)"},
        {"UTF-16LE, marked", "\xFF\xFE" + utf16(plain, false), "Tresk 2.1.0 (abc)", true},
        {"UTF-16BE, marked", "\xFE\xFF" + utf16(plain, true), "Tresk 2.1.0 (abc)", true},
        {"UTF-16LE, unmarked", utf16(plain, false), "Tresk 2.1.0 (abc)", true},
        {"ISO-8859-1", document("ISO-8859-1", "2.1\xE9"), "Tresk 2.1\xC3\xA9 (abc)", true},
        {"a bidirectional control", document("UTF-8", "2.1\xE2\x80\xAE"), std::nullopt},
        {"a line separator", document("UTF-8", "2.1\xE2\x80\xA8x"), std::nullopt},
        {"a NUL reference", document("UTF-8", "1.0&#0;tail"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto plist = parse(c.bytes);
        const auto line = plist ? versionLine(*plist) : std::nullopt;
        if (c.platformMayRefuse && !TRESK_SIMULATED_PLATFORM && !line) continue;
        EXPECT_EQ(line, c.line);
    }
    // What one reader repairs and another refuses: never raw. libplist keeps
    // the bytes, and a version or revision that is not UTF-8 is no version,
    // even where the revision's bad byte would not be shown.
    const std::string badRevision = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>CFBundleShortVersionString</key><string>1.0</string><key>TreskBuildDirty</key><false/>"
        "<key>TreskGitCommit</key><string>";
    for (const std::string& bytes : {document("UTF-8", "1.0\x9B" "31m"), document("UTF-8", std::string("1.0\0x", 5)),
                                     badRevision + "abc\xFF</string></dict></plist>\n",
                                     badRevision + "abcdef0123\xFF</string></dict></plist>\n"}) {
        auto plist = parse(bytes);
        auto line = plist ? versionLine(*plist) : std::nullopt;
        EXPECT_TRUE(!line || text::isVisibleText(*line)) << ::testing::PrintToString(*line);
        if (TRESK_SIMULATED_PLATFORM) {
            EXPECT_EQ(line, std::nullopt) << ::testing::PrintToString(bytes);
        }
    }
}

TEST(InfoPlistPath, TwoComponentsUp) {
    EXPECT_EQ(infoPlistPath("/Applications/Tresk.app/Contents/MacOS/tresk"), "/Applications/Tresk.app/Contents/Info.plist");
    EXPECT_EQ(infoPlistPath("/a/b"), "/Info.plist");
    EXPECT_EQ(infoPlistPath("/tresk"), "/Info.plist");
}

// A path is the file system's bytes: a name that is not UTF-8 stays as it is.
TEST(PathFromBuffer, StopsAtNulAndKeepsTheBytes) {
    const char buffer[] = "/Apps/T\xff.app/tresk\0garbage";
    EXPECT_EQ(pathFromBuffer({buffer, sizeof buffer}), "/Apps/T\xff.app/tresk");
    EXPECT_EQ(pathFromBuffer({}), "");
}

}  // namespace
}  // namespace tresk
