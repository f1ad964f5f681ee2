// Runs the built tresk as a user would: its own argv, stdin and streams, in a
// throwaway home whose simulated Mac the test describes. On macOS the same
// runs meet the real frameworks; tests that need a device run only on Linux.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace e2e {

// How standard input reaches the child: a pipe fed with `input`, a terminal,
// nothing at all, or a regular file that holds `input` (`tresk add a/b < file`).
enum class Input { Pipe, Terminal, Closed, File };

struct Invocation {
    std::vector<std::string> args = {};  // after argv[0]
    std::string input = {};              // written to a pipe, then closed
    Input stdinKind = Input::Pipe;
    bool stdoutClosed = false;      // no reader left on the stdout pipe
    std::string stdoutPath = {};    // standard output to this file (created, truncated), not a pipe
    bool nonBlocking = false;       // the child's standard input and output pipes are non-blocking
    // The test writes the input, and reads the output, only after this long.
    std::chrono::milliseconds slowPeer{0};
    std::string argv0 = "tresk";
    std::string executable = TRESK_BINARY;
    mode_t umask = 022;
    std::optional<std::size_t> memoryLimit = {};  // RLIMIT_AS, bytes
    std::optional<std::size_t> fileSizeLimit = {};  // RLIMIT_FSIZE, bytes, as `ulimit -f` sets it
    bool allowCoreDumps = false;                  // RLIMIT_CORE unlimited, as a shell could leave it
    std::optional<uid_t> user = {};               // run as this user (and group of that number); needs root
    // The child's group (only root may set it): a process that is not all
    // root can tell the files the kernel gives to root from its own.
    std::optional<gid_t> group = {};
    // Called with the child's pid once all input is written to the pipe and,
    // where the system can tell (Linux), read from it, before the pipe is
    // closed: the child is then waiting on its input.
    std::function<void(pid_t)> whileInputOpen = {};
};

struct Result {
    int status = -1;  // exit status, or minus the signal that ended the process
    bool coreDumped = false;
    std::size_t peakResident = 0;  // bytes: the child's largest resident set (ru_maxrss)
    std::string out, err;
};

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    Result run(const Invocation& invocation) const;
    Result run(std::vector<std::string> args, std::string input = {}) const {
        return run(Invocation{std::move(args), std::move(input)});
    }

    void writeProfile(std::string_view text) const;
    // Every file of the sandbox given to `user` (and the group of that
    // number), so a run as that user finds them its own; needs root.
    void giveTo(uid_t user) const;
    // The Keychain refuses this program as it refuses an unsigned build on a
    // Mac (-34018): the build under test there is unsigned already, and the
    // simulated Mac is told to do the same.
    void asUnsignedBuild() const;
    std::vector<std::string> prompts() const;  // prompts.log, one entry per line

    const std::string& home() const { return home_; }
    std::string simulatorDir() const;
    bool useXdg = true;  // false: XDG_DATA_HOME is left out of the environment

private:
    std::string home_;
};

// Status and stdout compared exactly; stderr against a pattern in which '*'
// stands for any run of characters within a line.
testing::AssertionResult Outcome(const Result& r, int status, std::string_view out, std::string_view err);

// `size` bytes of every value, the same for the same size.
std::string noise(std::size_t size);

// Exactly one line, and no control character in it but its line feed.
testing::AssertionResult OneCleanLine(const std::string& err);

// A short, escaped rendering of bytes for failure messages.
std::string show(std::string_view bytes);

}  // namespace e2e
