#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "launchhelp/dialog_texts.h"
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
        {"/opt/tresk\n", "/Users/me", "ln -s '/opt/tresk\n' ~/.local/bin/tresk"},
        {"/opt/t\xFF/tresk", "/Users/me", "ln -s '/opt/t\xFF/tresk' ~/.local/bin/tresk"},
        {"/Users/me/", "/Users/me", "ln -s ~/'' ~/.local/bin/tresk"},
    };
    for (const auto& c : cases) EXPECT_EQ(makeSymlinkCommand(c.executable, c.home), c.command) << c.executable;
}

// A translocated copy is known by the system's mount point in its path, with
// or without the /private that resolving links may strip; a folder whose name
// only begins the same is no such copy.
TEST(SymlinkCommand, TranslocatedCopies) {
    const std::string uuid = "3F2504E0-4F89-41D3-9A0C-0305E82C3301";
    struct Case {
        std::string executable;
        bool translocated;
    } cases[] = {
        {"/private/var/folders/zz/x1y2_z3/T/AppTranslocation/" + uuid + "/d/Tresk.app/Contents/MacOS/tresk", true},
        {"/var/folders/zz/x1y2_z3/T/AppTranslocation/" + uuid + "/d/Tresk.app/Contents/MacOS/tresk", true},
        {"/Applications/Tresk.app/Contents/MacOS/tresk", false},
        {"/Users/me/Downloads/Tresk.app/Contents/MacOS/tresk", false},
        {"/Users/me/AppTranslocationNotes/Tresk.app/Contents/MacOS/tresk", false},
        {"/Users/me/MyAppTranslocation/Tresk.app/Contents/MacOS/tresk", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isTranslocated(c.executable), c.translocated) << c.executable;
}

// What one POSIX shell makes of each command's arguments, with HOME set: the
// arguments of each command NUL-separated, one record per command. The
// commands run in one shell process, so thousands of them take a moment.
std::vector<std::string> shellArguments(const std::vector<std::string>& commands, const std::string& home) {
    // "ln" becomes a function that prints its arguments; \036 ends a record
    // and never occurs in a generated path.
    std::string script = "ln() { printf '%s\\0' \"$@\"; }\n";
    for (const auto& command : commands) script += command + "\nprintf '\\036'\n";

    char path[] = "/tmp/tresk-symlink-XXXXXX";
    int fd = ::mkstemp(path);
    if (fd < 0) return {};
    const bool written = ::write(fd, script.data(), script.size()) == static_cast<ssize_t>(script.size());
    ::close(fd);
    int out[2];
    if (!written || ::pipe(out) != 0) {
        ::unlink(path);
        return {};
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::setenv("HOME", home.c_str(), 1);
        ::execl("/bin/sh", "sh", path, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string output;
    char buffer[1 << 16];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::unlink(path);

    std::vector<std::string> records;
    for (std::size_t begin = 0, end; (end = output.find('\036', begin)) != std::string::npos; begin = end + 1) {
        records.push_back(output.substr(begin, end - begin));
    }
    return records;
}

TEST(SymlinkCommand, ShellGivesBackTheTarget) {
    const std::string alphabet[] = {"a", "Z", "0", "_", ".", "/", "-", " ", "'", "\"", "\n", "\t", "$", "`", "~",
                                    "\\", "*", "?", "[", "]", "!", "&", ";", "|", "(", "{", "#", "=", "%",
                                    "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\x91", "'\"'\"'", "$(", "${"};
    const std::string home = "/home/user name";
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1), length(1, 24), coin(0, 1);
    std::vector<std::string> executables, commands;
    for (int round = 0; round < 3000; ++round) {
        std::string tail;
        for (std::size_t i = length(random); i > 0; --i) tail += alphabet[pick(random)];
        const bool inHome = coin(random) == 1;
        executables.push_back((inHome ? home + "/" : std::string("/opt/")) + tail);
        commands.push_back(makeSymlinkCommand(executables.back(), home));
    }
    const std::vector<std::string> parsed = shellArguments(commands, home);
    // A command the shell could not parse ends the script: the count shows it.
    ASSERT_EQ(parsed.size(), commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const std::string expected =
            std::string("-s") + '\0' + executables[i] + '\0' + home + "/.local/bin/tresk" + '\0';
        ASSERT_EQ(parsed[i], expected) << commands[i];
    }
}

// The dialog sets the command within its last label in the monospaced font,
// and finds it there by its text: two constants, checked when this compiles.
static_assert(dialog::helpHint.find(dialog::helpCommand) != std::string_view::npos,
              "the help hint must hold the help command");

}  // namespace
}  // namespace tresk
