// The standard streams as a parent may leave them: non-blocking, slow, closed
// early, on a full device or under a file-size limit. A value is delivered
// whole or the run fails; the store never holds half of one.
#include <chrono>
#include <string>
#include <vector>

#include "harness/harness.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string added = "Key added successfully.\n";

// The input arrives, and the output is taken, only after a while, through
// pipes left non-blocking: the program waits, it does not fail.
TEST(Streams, NonBlockingPipesAreWaitedOn) {
    Sandbox sandbox;
    const std::string large = noise(1 << 20);
    struct Case {
        std::string key, value;
    } cases[] = {{"late/small", "written half a second later"}, {"late/large", large}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Invocation add{.args = {"add", c.key}, .input = c.value, .nonBlocking = true, .slowPeer = 500ms};
        EXPECT_TRUE(Outcome(sandbox.run(add), 0, "", added));
        Invocation get{.args = {"get", c.key}, .nonBlocking = true, .slowPeer = 300ms};
        EXPECT_TRUE(Outcome(sandbox.run(get), 0, c.value, ""));
    }
    Invocation list{.args = {"list"}, .nonBlocking = true, .slowPeer = 100ms};
    EXPECT_TRUE(Outcome(sandbox.run(list), 0, "late/large\nlate/small\n", ""));
}

// A reader that stopped early had enough: no line, but no success either.
// Every other failed write keeps its line.
TEST(Streams, UndeliveredOutput) {
    Sandbox sandbox;
    ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, noise(1 << 20)), 0, "", added));
    for (std::vector<std::string> args : {std::vector<std::string>{"get", "ns/k"}, {"list"}}) {
        SCOPED_TRACE(args[0]);
        EXPECT_TRUE(Outcome(sandbox.run(Invocation{.args = args, .stdoutClosed = true}), 1, "", ""));
        Invocation full{.args = args, .stdoutPath = "/dev/full"};
        EXPECT_TRUE(Outcome(sandbox.run(full), 1, "",
                            "Error: Could not write to standard output: No space left on device\n"));
    }
}

// `ulimit -f`: a write past the limit is an error line, never a death by
// SIGXFSZ, and the store keeps what it held.
TEST(Streams, FileSizeLimit) {
    Sandbox sandbox;
    const std::string value = noise(1000000);
    ASSERT_TRUE(Outcome(sandbox.run({"add", "small/k"}, "kept"), 0, "", added));
    const std::size_t limit = 100 * 1024;
    Invocation add{.args = {"add", "big/k"}, .input = value, .fileSizeLimit = limit};
    Result refused = sandbox.run(add);
    EXPECT_TRUE(Outcome(refused, 1, "", "Error: Failed to add key. (*: *)\n"));
    EXPECT_TRUE(OneCleanLine(refused.err));
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "small/k\n", ""));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "small/k"}), 0, "kept", ""));

    ASSERT_TRUE(Outcome(sandbox.run({"add", "big/k"}, value), 0, "", added));
    Invocation get{.args = {"get", "big/k"}, .stdoutPath = sandbox.home() + "/value", .fileSizeLimit = limit};
    EXPECT_TRUE(Outcome(sandbox.run(get), 1, "", "Error: Could not write to standard output: File too large\n"));
}

}  // namespace
}  // namespace e2e
