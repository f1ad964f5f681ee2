#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "identity/version.h"

namespace tresk {
namespace {

std::optional<PropertyList> parse(std::string_view text) {
    return parsePropertyList({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
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
