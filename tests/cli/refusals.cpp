// What the program refuses before it asks the platform for anything: the
// same answers on Linux and on a Mac, through the built binary.
#include <string>
#include <vector>

#include "harness/harness.h"

namespace e2e {
namespace {

const std::string invalidKey = "Error: Invalid NAMESPACE/KEY.\n";

TEST(Refusals, ForgedLinesAndEscapesInTheArguments) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"x\nError: forged", "a/b"}, "Error: Unknown command 'x\\x0aerror: forged'.\n"},
        {{"\x1b[2J\x1b]0;title\x07", "a/b"}, "Error: Unknown command '\\x1b[2j\\x1b]0;title\\x07'.\n"},
        {{"\xc2\x9b" "31m", "a/b"}, "Error: Unknown command '\\u009b31m'.\n"},
        {{"get\r", "a/b"}, "Error: Unknown command 'get\\x0d'.\n"},
        {{"\xff\xfe", "a/b"}, "Error: Unknown command '\\xff\\xfe'.\n"},
    };
    Sandbox sandbox;
    for (const auto& c : cases) {
        SCOPED_TRACE(show(c.args[0]));
        Result r = sandbox.run(c.args);
        EXPECT_TRUE(Outcome(r, 1, "", c.err));
        EXPECT_TRUE(OneCleanLine(r.err));
    }
    // The invoked name reaches the usage text only as visible text.
    Result usage = sandbox.run(Invocation{.args = {}, .argv0 = "/bin/t\x1b[31m"});
    EXPECT_EQ(usage.status, 1);
    EXPECT_TRUE(usage.err.starts_with("Usage: t\\x1b[31m COMMAND [ARGS]\n")) << show(usage.err);
}

// Names the platform is never asked about: no usable "/", an empty part, a
// "/" that a mark makes another character, a control character, a line or
// paragraph separator, a bidirectional control, bytes that are not UTF-8.
TEST(Refusals, InvalidNames) {
    const std::string names[] = {
        "a", "a/", "/b", "/", "", "a/\xcc\x81" "b",
        "evil/x\nwork/api-token", "ns/a\rb", "ns/\x1b[2J", "ns/\x7f", "ns/\xc2\x85", "ns/\xc2\x9b" "1m",
        "ns/\xc2\x80", "ns/\xc2\x9f",  // the first and last C1 controls
        "\xff/k", "\xfe/k", "ns/\xc3", "\xc0\xaf/k", "ns/\x80",
        "ns/a\xe2\x80\xa8" "b", "ns/\xe2\x80\xa9",                              // line and paragraph separators
        "ns/\xe2\x80\xae" "txt.exe", "\xe2\x81\xa6" "ns/k", "ns/\xe2\x80\x8f",  // bidirectional controls
    };
    Sandbox sandbox;
    for (const auto& name : names) {
        SCOPED_TRACE(show(name));
        for (const char* command : {"add", "get", "delete"}) {
            EXPECT_TRUE(Outcome(sandbox.run({command, name}, "secret"), 1, "", invalidKey)) << command;
        }
    }
}

TEST(Refusals, AddJudgesItsInputBeforeTheKey) {
    const std::string terminal = "Error: Value must be provided via stdin (pipe or redirection).\n";
    struct Case {
        Input kind;
        std::string input, key, err;
    } cases[] = {
        {Input::Terminal, "", "a/b", terminal},
        {Input::Terminal, "", "nokey", terminal},
        {Input::Pipe, "", "a/b", "Error: No value provided via stdin.\n"},
        {Input::Pipe, "", "nokey", "Error: No value provided via stdin.\n"},
        {Input::Closed, "", "a/b", "Error: Could not read standard input: *\n"},
        {Input::Pipe, std::string(1 << 20, 'v'), "nokey", invalidKey},
    };
    Sandbox sandbox;
    for (const auto& c : cases) {
        Invocation v{.args = {"add", c.key}, .input = c.input, .stdinKind = c.kind};
        EXPECT_TRUE(Outcome(sandbox.run(v), 1, "", c.err)) << c.key << " " << static_cast<int>(c.kind);
    }
}

// What a user of a build from source meets before signing it: each item
// call refused for the missing entitlement, with the hint, on one line.
TEST(Refusals, AnUnsignedBuildGivesTheSigningHint) {
    const std::string hint = "; run the signed executable inside its provisioned .app bundle (see BUILD.md)\n";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"get", "ns/k"}, "Failed to retrieve value."},
        {{"delete", "ns/k"}, "Failed to delete key."},
        {{"list"}, "Failed to list keys."},
    };
    Sandbox sandbox;
    sandbox.asUnsignedBuild();
    for (const auto& c : cases) {
        Result r = sandbox.run(c.args);
        EXPECT_TRUE(Outcome(r, 1, "", "Error: " + c.message + " (-34018: *)" + hint)) << c.args[0];
        EXPECT_TRUE(OneCleanLine(r.err));
    }
}

}  // namespace
}  // namespace e2e
