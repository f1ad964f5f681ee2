// Argument shapes, help, usage and the version line, through the built binary.
// A command word alone that runs a command (LIST) needs the Keychain: the
// item tests run it.
#include <cstdio>
#include <filesystem>
#include <optional>
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

// What git answers about the source tree, or none when it cannot.
std::optional<std::string> git(const std::string& arguments) {
    const std::string command = "git -C '" + std::string(TRESK_SOURCE_DIR) + "' " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string answer;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) answer.append(buffer, n);
    if (::pclose(pipe) != 0) return std::nullopt;
    return answer;
}

// The built bundle names the project's version and the checkout it was
// built from, as git tells it now (build and test from one tree).
TEST(FrontEnd, VersionLineFromTheBuiltBundle) {
    const auto head = git("rev-parse --verify HEAD");
    const auto changes = git("status --porcelain");
    if (!head || !changes) GTEST_SKIP() << "the source tree is no git checkout: the build named no revision of it";
    const std::string line =
        "Tresk " TRESK_VERSION " (" + head->substr(0, 7) + (changes->empty() ? "" : "-dirty") + ")\n";

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
