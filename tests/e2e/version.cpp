// --version through links and from damaged bundles, with the built binary.
#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/harness.h"

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

e2e::Result version(const e2e::Sandbox& box, const std::string& executable) {
    e2e::Invocation run{{"--version"}};
    run.executable = executable;
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

}  // namespace
