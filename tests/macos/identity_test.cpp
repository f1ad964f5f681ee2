// Where the program finds itself and its user, and whether the desktop
// started it, as the system answers: the macOS files of identity/ and
// launchhelp/ but the dialog.
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "harness/harness.h"
#include "identity/executable_location.h"
#include "launchhelp/desktop_launch.h"
#include "launchhelp/symlink_command.h"
#include "macos/self_location.h"
#include "macos/system_answers.h"

namespace tresk {
namespace {

namespace fs = std::filesystem;

TEST(SystemIdentity, AnswersForAShellStart) {
    const ExecutablePaths self = runningExecutableURL();
    ASSERT_FALSE(self.path.empty());

    // This program started again through a chain of links: a link to a
    // directory, a relative link in it, an absolute one behind that. dyld
    // reports the path it was started by, which runningExecutableURL resolves.
    e2e::Sandbox sandbox;
    const fs::path root = sandbox.home();
    fs::create_directories(root / "bin");
    fs::create_directories(root / "links");
    fs::create_symlink(self.fileSystemPath, root / "bin" / "tresk-real");
    fs::create_symlink("../bin/tresk-real", root / "links" / "tresk");
    fs::create_directory_symlink(root / "links", root / "via");
    e2e::Invocation started;
    started.executable = (root / "via" / "tresk").string();
    started.args = {std::string(macos::printLocationArgument)};
    const e2e::Result located = sandbox.run(started);
    EXPECT_EQ(located.status, 0) << located.err;
    EXPECT_EQ(located.out, self.path + "\n" + self.fileSystemPath + "\n") << "started as " << started.executable;

    // The user's home, links resolved, as the account database names it.
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const std::string home = homeDirectoryPath();
    EXPECT_EQ(home, fs::canonical(user->pw_dir).string());
    macos::recordAnswer("identity", "homeDirectoryPath()", home);

    // A process a shell started has no launch date; were one seen, `tresk`
    // with no arguments would open the dialog and wait for a click.
    EXPECT_FALSE(launchedFromDesktop());
}

}  // namespace
}  // namespace tresk
