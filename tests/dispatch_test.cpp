#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli/dispatch.h"

namespace tresk {
namespace {

struct Case {
    std::vector<std::string> args;  // after the program name
    Outcome outcome;
    std::string action = {};
    std::optional<std::string> key = {};
    AuthenticationPolicy policy = AuthenticationPolicy::biometryAny;
    std::string message = {};
    bool showingHelp = false;  // the usage text on standard output, status 0
};

const std::string onlyAdd = "Only add accepts --policy POLICY, after NAMESPACE/KEY.";
const std::string unknownPolicy = "Unknown policy. Use biometryAny, biometryCurrentSet, or userPresence.";

TEST(Dispatch, ShapesAndWords) {
    using enum Outcome;
    const Case cases[] = {
        {{}, Usage},
        {{"--version"}, Version},
        {{"--Version"}, Usage},
        {.args = {"--help"}, .outcome = Usage, .showingHelp = true},
        {.args = {"-h"}, .outcome = Usage, .showingHelp = true},
        {{"--HELP"}, Usage},
        {{"list"}, Command, "list"},
        {{"LIST"}, Command, "list"},
        {{"get"}, Usage},
        {{"add"}, Usage},
        {{"-h", "x"}, ErrorLine, {}, {}, {}, "Unknown command '-h'."},
        {{"--version", "x"}, ErrorLine, {}, {}, {}, "Unknown command '--version'."},
        {{"-h", "x", "y"}, Usage},
        {{"add", "a/b", "--policy"}, Usage},
        {{"add", "a/b", "--policy", "userPresence", "x"}, Usage},
        {{"list", "a/b"}, Command, "list", "a/b"},
        {{"FROB", "a/b"}, ErrorLine, {}, {}, {}, "Unknown command 'frob'."},
        {{"get", "NS/K"}, Command, "get", "NS/K"},
        {{"get", ""}, Command, "get", ""},
        {{"\xC3\x84" "DD", "a/b"}, ErrorLine, {}, {}, {}, "Unknown command '\xC3\xA4" "dd'."},
        {{"\xC4\xB0", "a/b"}, ErrorLine, {}, {}, {}, "Unknown command 'i\xCC\x87'."},
        {{"\xFF" "ADD", "a/b"}, ErrorLine, {}, {}, {}, "Unknown command '\xFF" "add'."},  // escaped when written
        {{"ADD", "a/b", "--policy", "userPresence"}, Command, "add", "a/b", AuthenticationPolicy::userPresence},
        {{"add", "a/b", "--policy", "biometryCurrentSet"}, Command, "add", "a/b",
         AuthenticationPolicy::biometryCurrentSet},
        {{"add", "a/b", "--POLICY", "userPresence"}, ErrorLine, {}, {}, {}, onlyAdd},
        {{"add", "a/b", "-p", "userPresence"}, ErrorLine, {}, {}, {}, onlyAdd},
        {{"get", "a/b", "--policy", "userPresence"}, ErrorLine, {}, {}, {}, onlyAdd},
        {{"frob", "a/b", "--policy", "nonsense"}, ErrorLine, {}, {}, {}, onlyAdd},
        {{"add", "a/b", "--policy", "UserPresence"}, ErrorLine, {}, {}, {}, unknownPolicy},
        {{"add", "a/b", "--policy", ""}, ErrorLine, {}, {}, {}, unknownPolicy},
        {{"add", "a/b", "--policy", " biometryAny"}, ErrorLine, {}, {}, {}, unknownPolicy},
        {{"add", "a/b", "--policy", "biometryany"}, ErrorLine, {}, {}, {}, unknownPolicy},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> argv{"/usr/local/bin/tresk"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Decision d = decide(argv, [] { return false; });
        EXPECT_EQ(d.outcome, c.outcome);
        EXPECT_EQ(d.message, c.message);
        EXPECT_EQ(d.invocation.showingHelp, c.showingHelp);
        EXPECT_EQ(d.invocation.program, "tresk");
        if (c.outcome == Outcome::Command) {
            EXPECT_EQ(d.invocation.action, c.action);
            EXPECT_EQ(d.invocation.key, c.key);
            EXPECT_EQ(d.invocation.policy, c.policy);
            ASSERT_NE(d.command, nullptr);
            EXPECT_EQ(d.command->word, c.action);
        }
    }
}

// The launch date is asked for with no argument, or with only the process
// serial number a first Finder launch adds; never otherwise.
TEST(Dispatch, LaunchDateAskedOnlyWithoutTheUsersArguments) {
    using enum Outcome;
    struct Case {
        std::vector<std::string> args;  // after the program name
        bool asked;
        Outcome fromDesktop, fromShell;
    } cases[] = {
        {{}, true, LaunchHelp, Usage},
        {{"-psn_0_2282029"}, true, LaunchHelp, Usage},
        {{"-psn_"}, true, LaunchHelp, Usage},
        {{"-psn"}, false, Usage, Usage},
        {{"-PSN_0_1"}, false, Usage, Usage},
        {{"-psn_0_1", "list"}, false, ErrorLine, ErrorLine},
        {{"list", "-psn_0_1"}, false, Command, Command},
        {{"list"}, false, Command, Command},
        {{"--help"}, false, Usage, Usage},
        {{"--version"}, false, Version, Version},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> argv{"tresk"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        for (bool desktop : {true, false}) {
            int asked = 0;
            Decision d = decide(argv, [&] { ++asked; return desktop; });
            EXPECT_EQ(asked, c.asked ? 1 : 0);
            EXPECT_EQ(d.outcome, desktop ? c.fromDesktop : c.fromShell);
        }
    }
}

TEST(Dispatch, NoElementZeroGivesUsageWithEmptyName) {
    Decision d = decide({}, [] { return true; });
    EXPECT_EQ(d.outcome, Outcome::Usage);
    EXPECT_EQ(d.invocation.program, "");
}

TEST(Dispatch, ProgramIsTheLastPathComponent) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/local/bin/tresk", "tresk"}, {"tresk", "tresk"}, {"./bin/tk", "tk"},
        {"/opt/tresk/", "tresk"},          {"/", "/"},          {"", ""},
    };
    for (auto [path, name] : cases) EXPECT_EQ(programName(path), name) << path;
}

TEST(Dispatch, UsageTextIsExact) {
    const std::pair<std::string, std::string> cases[] = {
        {"tresk", "Usage: tresk"},
        {"vault", "Usage: vault"},
        {"", "Usage: "},
    };
    for (const auto& [program, first] : cases) {
        EXPECT_EQ(usageText(program),
                  first +
                      " COMMAND [ARGS]\n"
                      "\n"
                      "Commands:\n"
                      "  add NAMESPACE/KEY [--policy POLICY]  (stdin: value)\n"
                      "  get NAMESPACE/KEY\n"
                      "  delete NAMESPACE/KEY\n"
                      "  list\n"
                      "\n"
                      "Policies:\n"
                      "  biometryAny         Touch ID; survives enrollment changes (default)\n"
                      "  biometryCurrentSet  Touch ID; enrollment changes invalidate access\n"
                      "  userPresence        Touch ID or Mac login password\n")
            << program;
    }
}

}  // namespace
}  // namespace tresk
