// --version through links and from damaged bundles, with the built binary.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>

#include "harness/binary_plist.h"
#include "harness/harness.h"

namespace {

namespace fs = std::filesystem;

const std::string metadataMissing =
    "Error: Version metadata missing; run the signed executable inside its built .app bundle.\n";

// A private copy of the built bundle whose Info.plist the test may spoil.
struct BundleCopy {
    explicit BundleCopy(const e2e::Sandbox& box) : root(fs::path(box.home()) / "Copy.app") {
        fs::path built = fs::path(TRESK_BINARY).parent_path().parent_path().parent_path();
        fs::copy(built, root, fs::copy_options::recursive);
    }
    void infoPlist(const std::string& bytes) const {
        std::ofstream(root / "Contents/Info.plist", std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string executable() const { return (root / "Contents/MacOS/tresk").string(); }
    fs::path root;
};

std::string plist(const std::string& dict) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + dict + "</dict></plist>\n";
}

e2e::Result version(const e2e::Sandbox& box, const std::string& executable, const std::string& argv0 = "tresk") {
    e2e::Invocation run{{"--version"}};
    run.executable = executable;
    run.argv0 = argv0;
    return box.run(run);
}

TEST(Version, FollowsLinksToTheBundle) {
    e2e::Sandbox box;
    BundleCopy bundle(box);
    bundle.infoPlist(plist("<key>CFBundleShortVersionString</key><string>2.1.0</string>"
                           "<key>TreskGitCommit</key><string>abcdef0123456789</string>"
                           "<key>TreskBuildDirty</key><true/>"));
    fs::path bin = fs::path(box.home()) / "bin";
    fs::create_directories(bin / "deeper");
    fs::create_symlink(bundle.executable(), bin / "deeper/tresk");
    fs::create_symlink("deeper/tresk", bin / "tresk");
    fs::create_symlink(bin / "tresk", fs::path(box.home()) / "tk");
    EXPECT_TRUE(e2e::Outcome(version(box, (fs::path(box.home()) / "tk").string()), 0, "Tresk 2.1.0 (abcdef0-dirty)\n", ""));

    // Info.plist itself may be a link (a bundle assembled from links): it is followed.
    fs::rename(bundle.root / "Contents/Info.plist", fs::path(box.home()) / "Info.plist");
    fs::create_symlink(fs::path(box.home()) / "Info.plist", bundle.root / "Contents/Info.plist");
    EXPECT_TRUE(e2e::Outcome(version(box, bundle.executable()), 0, "Tresk 2.1.0 (abcdef0-dirty)\n", ""));
}

TEST(Version, MetadataMissing) {
    e2e::Sandbox box;
    fs::path copied = fs::path(box.home()) / "tresk";
    fs::copy_file(TRESK_BINARY, copied);
    fs::permissions(copied, fs::perms::owner_all);
    EXPECT_TRUE(e2e::Outcome(version(box, copied.string()), 1, "", metadataMissing));

    BundleCopy bundle(box);
    const std::string good = "<key>TreskGitCommit</key><string>abc</string><key>TreskBuildDirty</key><false/>";
    const std::string broken[] = {
        plist("<key>TreskGitCommit</key><string>abc</string><key>TreskBuildDirty</key><false/>"),
        plist("<key>CFBundleShortVersionString</key><integer>2</integer>" + good),
        plist("<key>CFBundleShortVersionString</key><string>2</string><key>TreskGitCommit</key><string>abc</string>"
              "<key>TreskBuildDirty</key><string>YES</string>"),
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>2</string></array></plist>",
        "not a property list",
        "",
    };
    for (const auto& text : broken) {
        bundle.infoPlist(text);
        EXPECT_TRUE(e2e::Outcome(version(box, bundle.executable()), 1, "", metadataMissing)) << text;
    }
    fs::remove(bundle.root / "Contents/Info.plist");
    EXPECT_TRUE(e2e::Outcome(version(box, bundle.executable()), 1, "", metadataMissing));
}

// Info.plist as an attacker would shape it: each gives the metadata error,
// quickly, and never a second line.
TEST(Version, HostileInfoPlists) {
    e2e::Sandbox box;
    BundleCopy bundle(box);
    const fs::path info = bundle.root / "Contents/Info.plist";
    const std::string keys = "<key>TreskGitCommit</key><string>abc</string><key>TreskBuildDirty</key><false/>";
    std::string deep = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + keys +
                       "<key>CFBundleShortVersionString</key><string>1</string><key>x</key>";
    for (int i = 0; i < 4000; ++i) deep += "<array>";
    for (int i = 0; i < 4000; ++i) deep += "</array>";
    deep += "</dict></plist>";
    // What /proc/self/cmdline holds for a run started with this name: a good
    // Info.plist in its first 64 KiB, more after; stat says its size is 0.
    std::string longName = plist("<key>CFBundleShortVersionString</key><string>1</string>" + keys);
    longName.resize(70000, ' ');
    struct Case {
        std::string what;
        std::function<void()> make;
        std::string out;
        std::string argv0 = "tresk";
    } cases[] = {
        {"a newline in the version", [&] { bundle.infoPlist(plist("<key>CFBundleShortVersionString</key><string>1\nTresk 9.9.9 (forged)</string>" + keys)); }, ""},
        {"an escape in the revision", [&] { bundle.infoPlist(plist("<key>CFBundleShortVersionString</key><string>1</string><key>TreskGitCommit</key><string>ab\x1b[2J</string><key>TreskBuildDirty</key><false/>")); }, ""},
        {"a FIFO", [&] { fs::remove(info); ASSERT_EQ(::mkfifo(info.c_str(), 0600), 0); }, ""},
        {"a link to /dev/zero", [&] { fs::remove(info); fs::create_symlink("/dev/zero", info); }, ""},
        {"a link to a file of unstated size, over 64 KiB", [&] { fs::remove(info); fs::create_symlink("/proc/self/cmdline", info); }, "", longName},
        {"a directory", [&] { fs::remove(info); fs::create_directory(info); }, ""},
        {"larger than 64 KiB", [&] { fs::remove_all(info); bundle.infoPlist(plist("<key>CFBundleShortVersionString</key><string>" + std::string(70000, '1') + "</string>" + keys)); }, ""},
        {"deeply nested, beside good keys", [&] { bundle.infoPlist(deep); }, "Tresk 1 (abc)\n"},
        {"binary, its arrays each holding the next twice, 40 levels deep", [&] {
             using namespace tresk::fixtures;
             bundle.infoPlist(infoPlistWith(ascii("1"), doubling(40), 9));
         }, ""},
        {"binary, a version holding a NUL", [&] {
             using namespace tresk::fixtures;
             bundle.infoPlist(infoPlistWith(ascii(std::string("1.0\0tail", 8)), {}));
         }, ""},
        {"XML after a byte-order mark", [&] {
             bundle.infoPlist("\xEF\xBB\xBF" + plist("<key>CFBundleShortVersionString</key><string>1</string>" + keys));
         }, "Tresk 1 (abc)\n"},
        {"binary, 10 levels of that", [&] {
             using namespace tresk::fixtures;
             bundle.infoPlist(infoPlistWith(ascii("1"), doubling(10), 9));
         }, "Tresk 1 (abcdef0)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const auto started = std::chrono::steady_clock::now();
        e2e::Result r = version(box, bundle.executable(), c.argv0);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        if (c.out.empty()) {
            EXPECT_TRUE(e2e::Outcome(r, 1, "", metadataMissing));
        } else {
            EXPECT_TRUE(e2e::Outcome(r, 0, c.out, ""));
        }
    }
}

// The path is the file system's bytes: a bundle under a directory whose name
// is not UTF-8 still finds its Info.plist.
TEST(Version, BundleUnderANameThatIsNotUtf8) {
    e2e::Sandbox box;
    BundleCopy bundle(box);
    bundle.infoPlist(plist("<key>CFBundleShortVersionString</key><string>2.1.0</string>"
                           "<key>TreskGitCommit</key><string>abcdef0123456789</string>"
                           "<key>TreskBuildDirty</key><false/>"));
    const fs::path odd = fs::path(box.home()) / "caf\xff";
    std::error_code refused;
    fs::create_directory(odd, refused);
    if (refused) GTEST_SKIP() << "this file system takes only UTF-8 names: " << refused.message();
    fs::rename(bundle.root, odd / "Copy.app");
    EXPECT_TRUE(e2e::Outcome(version(box, (odd / "Copy.app/Contents/MacOS/tresk").string()), 0,
                             "Tresk 2.1.0 (abcdef0)\n", ""));
}

}  // namespace
