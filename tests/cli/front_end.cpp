// Argument shapes, help, usage and the version line, through the built binary.
// A command word alone that runs a command (LIST) needs the Keychain: the
// item tests run it.
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "harness/harness.h"

namespace e2e {
namespace {

const std::string usageBody =
    " COMMAND [ARGS]\n\nCommands:\n  add NAMESPACE/KEY [--policy POLICY]  (stdin: value)\n"
    "  get NAMESPACE/KEY\n  delete NAMESPACE/KEY\n  list\n\nPolicies:\n"
    "  biometryAny         Touch ID; survives enrollment changes (default)\n"
    "  biometryCurrentSet  Touch ID; enrollment changes invalidate access\n"
    "  userPresence        Touch ID or Mac login password\n";
const std::string usage = "Usage: tresk" + usageBody;
const std::string onlyAdd = "Error: Only add accepts --policy POLICY, after NAMESPACE/KEY.\n";
const std::string badPolicy = "Error: Unknown policy. Use biometryAny, biometryCurrentSet, or userPresence.\n";
const std::string listNoKey = "Error: list does not accept NAMESPACE/KEY. Use tresk list to list all keys.\n";

TEST(FrontEnd, ArgumentShapes) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } cases[] = {
        {{}, 1, "", usage},
        {{"--help"}, 0, usage, ""},
        {{"-h"}, 0, usage, ""},
        {{"--HELP"}, 1, "", usage},
        {{"--Version"}, 1, "", usage},
        {{"-h", "x"}, 1, "", "Error: Unknown command '-h'.\n"},
        {{"-h", "x", "y"}, 1, "", usage},
        {{"--help", "--help"}, 1, "", "Error: Unknown command '--help'.\n"},
        {{"--version", "x"}, 1, "", "Error: Unknown command '--version'.\n"},
        // From a shell, the desktop's process serial number is no command.
        {{"-psn_0_2282029"}, 1, "", usage},
        {{"get"}, 1, "", usage},
        {{"add"}, 1, "", usage},
        {{"delete"}, 1, "", usage},
        {{"frob"}, 1, "", usage},
        {{"add", "a/b", "--policy"}, 1, "", usage},
        {{"add", "a/b", "--policy", "userPresence", "x"}, 1, "", usage},
        {{"FROB", "a/b"}, 1, "", "Error: Unknown command 'frob'.\n"},
        {{"\xc3\x84" "DD", "a/b"}, 1, "", "Error: Unknown command '\xc3\xa4" "dd'.\n"},
        {{"add", "a/b", "--POLICY", "userPresence"}, 1, "", onlyAdd},
        {{"add", "a/b", "-p", "userPresence"}, 1, "", onlyAdd},
        {{"get", "a/b", "--policy", "userPresence"}, 1, "", onlyAdd},
        {{"frob", "a/b", "--policy", "userPresence"}, 1, "", onlyAdd},
        {{"add", "a/b", "--policy", "UserPresence"}, 1, "", badPolicy},
        {{"add", "a/b", "--policy", "biometryany"}, 1, "", badPolicy},
        {{"add", "a/b", "--policy", ""}, 1, "", badPolicy},
        {{"add", "a/b", "--policy", " userPresence"}, 1, "", badPolicy},
        {{"list", "a/b"}, 1, "", listNoKey},
        {{"List", ""}, 1, "", listNoKey},
    };
    Sandbox sandbox;
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.args) shown += show(a) + " ";
        // No input at all: the front end's verdict must not depend on stdin.
        EXPECT_TRUE(Outcome(sandbox.run(c.args), c.status, c.out, c.err)) << "args: " << shown;
    }
}

TEST(FrontEnd, ProgramNameIsTheOneInvoked) {
    Sandbox sandbox;
    const std::string link = sandbox.home() + "/bin/vault";
    std::filesystem::create_directories(sandbox.home() + "/bin");
    std::filesystem::create_symlink(TRESK_BINARY, link);
    struct Case {
        std::string argv0, executable, name;
    } cases[] = {
        {"/usr/local/bin/tresk", TRESK_BINARY, "tresk"},
        {"tresk-dev", TRESK_BINARY, "tresk-dev"},
        {link, link, "vault"},
    };
    for (const auto& c : cases) {
        Invocation v{.args = {}, .argv0 = c.argv0, .executable = c.executable};
        EXPECT_TRUE(Outcome(sandbox.run(v), 1, "", "Usage: " + c.name + usageBody)) << c.argv0;
        v.args = {"-h"};
        EXPECT_TRUE(Outcome(sandbox.run(v), 0, "Usage: " + c.name + usageBody, "")) << c.argv0;
    }
}

// The line is made from the Info.plist that the build wrote beside the binary.
TEST(FrontEnd, VersionLineFromTheBuiltBundle) {
    const auto bundle = std::filesystem::path(TRESK_BINARY).parent_path().parent_path();
    std::stringstream plist;
    plist << std::ifstream(bundle / "Info.plist").rdbuf();
    auto value = [text = plist.str()](const std::string& key) {
        std::smatch m;
        std::regex_search(text, m, std::regex("<key>" + key + "</key>\\s*<(string>([^<]*)</string|true/|false/)>"));
        return m[2].matched ? m[2].str() : m[1].str();
    };
    const std::string dirty = value("TreskBuildDirty") == "true/" ? "-dirty" : "";
    const std::string line =
        "Tresk " + value("CFBundleShortVersionString") + " (" + value("TreskGitCommit").substr(0, 7) + dirty + ")\n";
    ASSERT_TRUE(std::regex_match(line, std::regex("Tresk [^ ]+ \\([^()]{7}(-dirty)?\\)\n"))) << show(line);

    Sandbox sandbox;
    const std::string link = sandbox.home() + "/tresk";
    std::filesystem::create_symlink(TRESK_BINARY, link);
    EXPECT_TRUE(Outcome(sandbox.run({"--version"}), 0, line, ""));
    Invocation throughLink{.args = {"--version"}, .argv0 = link, .executable = link};
    EXPECT_TRUE(Outcome(sandbox.run(throughLink), 0, line, ""));
}

// Help and the version line to a reader that is gone: not delivered, so not
// a success, and nothing to tell the reader that left.
TEST(FrontEnd, OutputToAClosedPipe) {
    Sandbox sandbox;
    for (const char* flag : {"--version", "-h"}) {
        EXPECT_TRUE(Outcome(sandbox.run(Invocation{.args = {flag}, .stdoutClosed = true}), 1, "", "")) << flag;
    }
}

}  // namespace
}  // namespace e2e
