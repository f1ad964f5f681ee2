#include <cstdio>
#include <random>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "launchhelp/symlink_command.h"

namespace tresk {
namespace {

TEST(SymlinkCommand, Cases) {
    struct Case {
        const char* executable;
        const char* home;
        const char* command;
    } cases[] = {
        {"/Users/me/Apps/T.app/Contents/MacOS/tresk", "/Users/me", "ln -s ~/Apps/T.app/Contents/MacOS/tresk ~/.local/bin/tresk"},
        {"/Users/me/My Apps/T.app/Contents/MacOS/tresk", "/Users/me",
         "ln -s ~/'My Apps/T.app/Contents/MacOS/tresk' ~/.local/bin/tresk"},
        {"/Applications/T.app/Contents/MacOS/tresk", "/Users/me", "ln -s /Applications/T.app/Contents/MacOS/tresk ~/.local/bin/tresk"},
        {"/Volumes/Data/it's here/T.app/Contents/MacOS/tresk", "/Users/me",
         "ln -s '/Volumes/Data/it'\"'\"'s here/T.app/Contents/MacOS/tresk' ~/.local/bin/tresk"},
        {"/Users/me2/T.app/tresk", "/Users/me", "ln -s /Users/me2/T.app/tresk ~/.local/bin/tresk"},
        {"/T.app/tresk", "/", "ln -s /T.app/tresk ~/.local/bin/tresk"},
        {"/Users/my home/T.app/tresk", "/Users/my home", "ln -s ~/T.app/tresk ~/.local/bin/tresk"},
        {"/Users/me/a'b'c", "/Users/me", "ln -s ~/'a'\"'\"'b'\"'\"'c' ~/.local/bin/tresk"},
        {"/opt/caf\xC3\xA9/tresk", "/Users/me", "ln -s '/opt/caf\xC3\xA9/tresk' ~/.local/bin/tresk"},
        {"/opt/~x/$HOME/tresk", "/Users/me", "ln -s '/opt/~x/$HOME/tresk' ~/.local/bin/tresk"},
        {"/opt/a\nb/tresk", "/Users/me", "ln -s '/opt/a\nb/tresk' ~/.local/bin/tresk"},
        {"/Users/me/", "/Users/me", "ln -s ~/'' ~/.local/bin/tresk"},
    };
    for (const auto& c : cases) EXPECT_EQ(makeSymlinkCommand(c.executable, c.home), c.command) << c.executable;
}

// What a POSIX shell makes of the command's arguments, with HOME set.
std::string shellArguments(const std::string& command, const std::string& home) {
    int out[2];
    if (::pipe(out) != 0) return "pipe failed";
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::setenv("HOME", home.c_str(), 1);
        // "ln" becomes a function that prints its arguments NUL-separated.
        std::string script = "ln() { printf '%s\\0' \"$@\"; }; " + command;
        ::execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return result;
}

TEST(SymlinkCommand, ShellGivesBackTheTarget) {
    const std::string alphabet[] = {"a", "Z", "0", "_", ".", "/", "-", " ", "'", "\"", "\n", "\t", "$", "`", "~",
                                    "\\", "*", "?", "[", "]", "!", "&", ";", "|", "(", "{", "#", "=", "%",
                                    "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\x91", "'\"'\"'", "$(", "${"};
    const std::string home = "/home/user name";
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1), length(1, 24), coin(0, 1);
    for (int round = 0; round < 3000; ++round) {
        std::string tail;
        for (std::size_t i = length(random); i > 0; --i) tail += alphabet[pick(random)];
        const bool inHome = coin(random) == 1;
        const std::string executable = (inHome ? home + "/" : std::string("/opt/")) + tail;
        const std::string command = makeSymlinkCommand(executable, home);
        const std::string expected = std::string("-s") + '\0' + executable + '\0' + home + "/.local/bin/tresk" + '\0';
        ASSERT_EQ(shellArguments(command, home), expected) << command;
    }
}

}  // namespace
}  // namespace tresk
