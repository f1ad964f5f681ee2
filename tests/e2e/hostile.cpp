// Forged input, each case one that once broke the program: every answer is one
// clean line and status 1, and nothing is stored, released or dumped.
#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "harness/harness.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const std::string added = "Key added successfully.\n";
const std::string invalidKey = "Error: Invalid NAMESPACE/KEY.\n";

// Refused names leave the store as it was; two ill-formed names are two
// refusals, never one repaired name, and a real U+FFFD is text like any other.
TEST(Hostile, RefusedNamesStoreNothing) {
    Sandbox sandbox;
    for (const char* name : {"evil/x\nwork/api-token", "ns/\x1b[2J", "\xff/k"}) {
        EXPECT_TRUE(Outcome(sandbox.run({"add", name}, "secret"), 1, "", invalidKey)) << show(name);
    }
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "", "")) << "nothing was stored";
    EXPECT_TRUE(Outcome(sandbox.run({"add", "\xef\xbf\xbd/k"}, "replacement"), 0, "", added));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "\xff/k"}), 1, "", invalidKey));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "\xef\xbf\xbd/k"}), 0, "replacement", ""));
}

// Items named by another program, or before such names were refused: each
// is listed on a line of its own, as visible text, whatever bytes it holds.
TEST(Hostile, ListingShowsEveryNameAsVisibleText) {
    struct Forged {
        std::string service, account;  // SQL expressions
        std::string listed;
    } forged[] = {  // in the order they are listed
        {"'bidi'", "'txt' || char(8238) || 'exe.js'", "bidi/txt\\u202eexe.js"},  // U+202E shows it reversed
        {"'evil'", "'c1-' || char(128) || '-' || char(159)", "evil/c1-\\u0080-\\u009f"},
        {"'evil'", "'n' || char(0) || 'ul'", "evil/n\\x00ul"},
        {"'evil'", "'nbsp-' || char(160)", "evil/nbsp-\xc2\xa0"},  // the first character after C1 is text
        {"'evil'", "'x' || char(10) || 'work/api-token' || char(27) || '[0m'", "evil/x\\x0awork/api-token\\x1b[0m"},
        {"'raw'", "CAST(x'9b33316d78ff' AS TEXT)", "raw/\\x9b31mx\\xff"},  // an 8-bit CSI, and a byte that is no UTF-8
        // line and paragraph separators
        {"'split'", "'a' || char(8232) || 'b' || char(8233)", "split/a\\u2028b\\u2029"},
    };
    Sandbox sandbox;
    ASSERT_TRUE(Outcome(sandbox.run({"add", "work/real"}, "v"), 0, "", added));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((sandbox.simulatorDir() + "/keychain.sqlite3").c_str(), &db), SQLITE_OK);
    std::string listing;
    for (const auto& f : forged) {
        const std::string forge = "INSERT INTO items SELECT class, " + f.service + ", " + f.account +
                                  ", synchronizable, access_flags, protection, enrollment, created, modified, data"
                                  " FROM items WHERE service = 'work'";
        EXPECT_EQ(sqlite3_exec(db, forge.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        listing += f.listed + "\n";
    }
    sqlite3_close(db);
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, listing + "work/real\n", ""));
}

TEST(Hostile, ValuesLargerThanMemoryAreAnErrorNotACrash) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer cannot run under a small address-space limit";
#else
    Sandbox sandbox;
    std::string value(200 << 20, 'x');
    Invocation v{.args = {"add", "big/value"}, .input = value, .memoryLimit = std::size_t{160} << 20};
    Result r = sandbox.run(v);
    EXPECT_TRUE(Outcome(r, 1, "", "Error: Out of memory.\n"));
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "", ""));
#endif
}

// What /proc tells of a process from outside.
struct SeenFromOutside {
    std::string coreLimit;          // "soft hard", from /proc/PID/limits
    std::string ids;                // "uid:gid" the process runs as (effective)
    std::string ownerOfItsMemory;   // "uid:gid" of /proc/PID/mem
};

SeenFromOutside look(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    SeenFromOutside seen;
    std::ifstream limits(proc + "/limits");
    for (std::string line; std::getline(limits, line);) {
        const std::string label = "Max core file size";
        if (line.rfind(label, 0) != 0) continue;
        std::istringstream fields(line.substr(label.size()));
        std::string soft, hard;
        fields >> soft >> hard;
        seen.coreLimit = soft + " " + hard;
    }
    std::ifstream status(proc + "/status");
    std::string uid, gid;
    for (std::string line; std::getline(status, line);) {
        std::istringstream fields(line);
        std::string label, real, effective;
        fields >> label >> real >> effective;
        if (label == "Uid:") uid = effective;
        if (label == "Gid:") gid = effective;
    }
    seen.ids = uid + ":" + gid;
    struct stat st {};
    if (::stat((proc + "/mem").c_str(), &st) == 0) {
        seen.ownerOfItsMemory = std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid);
    }
    return seen;
}

// Killed while it holds a value, the process leaves no core file behind,
// however the shell set the limit: before it reads the value its core size
// limit is 0 and it is no longer dumpable (the kernel then gives its /proc
// files to root, and no process of the user may read its memory).
TEST(Hostile, NoCoreFileHoldsAValue) {
    Sandbox sandbox;
    const std::string secret = "core-dump-secret-" + std::to_string(::getpid());
    SeenFromOutside seen;
    Invocation v{.args = {"add", "ns/k"}, .input = secret, .allowCoreDumps = true,
                 // Run as root, the process must not be all root, or root's ownership tells nothing.
                 .group = ::geteuid() == 0 ? std::optional<gid_t>(65534) : std::nullopt,
                 .whileInputOpen = [&](pid_t pid) {
                     seen = look(pid);  // it has read the value and waits for the end of it
                     ::kill(pid, SIGQUIT);
                 }};
    Result r = sandbox.run(v);
    EXPECT_EQ(r.status, -SIGQUIT) << show(r.err);
    EXPECT_EQ(seen.coreLimit, "0 0");
    ASSERT_NE(seen.ids, "0:0");
    EXPECT_EQ(seen.ownerOfItsMemory, "0:0") << "the process, running as " << seen.ids << ", stayed dumpable";
    EXPECT_FALSE(r.coreDumped);
    for (const auto& entry : fs::recursive_directory_iterator(sandbox.home())) {
        EXPECT_EQ(entry.path().filename().string().rfind("core", 0), std::string::npos) << entry.path();
    }
}

// What the simulated Mac cannot read or trust refuses; it never stands for
// a Mac whose user approves everything.
TEST(Hostile, AnUnusableProfileFailsClosed) {
    enum Damage { Directory, LinkLoop, LinkToOwnFile, Fifo, TooLarge, Text };
    struct Case {
        Damage damage;
        std::string problem;  // as the status text tells it
        std::string text = {};  // the profile, for Text
    } cases[] = {
        {Directory, "device.profile: it is not a regular file"},
        {LinkLoop, "device.profile is a symbolic link"},
        {LinkToOwnFile, "device.profile is a symbolic link"},  // to a good profile, the user's own
        {Fifo, "device.profile: it is not a regular file"},
        {TooLarge, "device.profile: it is larger than 1 MiB"},
        {Text, "device profile line 1: '\\x1b[2Jx' is not a value of answer", "answer = \x1b[2Jx\n"},
        {Text, "device profile line 2: expected NAME = VALUE", "# cancel every prompt\nanswer cancel\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        Sandbox sandbox;
        ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k", "--policy", "userPresence"}, "secret"), 0, "", added));
        const std::string profile = sandbox.simulatorDir() + "/device.profile";
        switch (c.damage) {
            case Directory: fs::create_directory(profile); break;
            case LinkLoop: fs::create_symlink("device.profile", profile); break;
            case LinkToOwnFile:
                std::ofstream(sandbox.simulatorDir() + "/mine.profile") << "answer = approve\n";
                ASSERT_EQ(::chmod((sandbox.simulatorDir() + "/mine.profile").c_str(), 0600), 0);
                fs::create_symlink("mine.profile", profile);
                break;
            case Fifo: ASSERT_EQ(::mkfifo(profile.c_str(), 0600), 0); break;
            case TooLarge: sandbox.writeProfile(std::string((1 << 20) + 1, '#')); break;
            case Text: sandbox.writeProfile(c.text); break;
        }
        Result get = sandbox.run({"get", "ns/k"});
        EXPECT_TRUE(Outcome(get, 1, "", "Error: Failed to retrieve value. (-25291: The keychain is not available: *" +
                                            c.problem + "*)\n"));
        EXPECT_TRUE(OneCleanLine(get.err));
        Result add = sandbox.run({"add", "ns/other"}, "v");
        EXPECT_TRUE(Outcome(add, 1, "", "Error: biometryAny unavailable: The simulated device is unusable: *" +
                                            c.problem + "*\n"));
        EXPECT_TRUE(sandbox.prompts().empty()) << "no prompt was shown, none approved";
    }
}

TEST(Hostile, OnlyTheUsersOwnFilesAreTrusted) {
    Sandbox sandbox;
    const std::string dir = sandbox.simulatorDir();
    ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));

    // A prompt that cannot be recorded is not shown, and the value stays.
    fs::remove(dir + "/prompts.log");
    fs::create_symlink("/dev/null", dir + "/prompts.log");
    EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 1, "",
                        "Error: Failed to retrieve value. (-25291: The keychain is not available: the prompt could not "
                        "be recorded: */prompts.log is a symbolic link.)\n"));
    fs::remove(dir + "/prompts.log");

    // Nothing else is trusted there: a super-journal a hot journal could name, say.
    std::ofstream(dir + "/keychain.sqlite3-mj0123ABCD") << "";
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 1, "",
                        "Error: Failed to list keys. (-25291: The keychain is not available: "
                        "*/keychain.sqlite3-mj0123ABCD is not one of the simulator's files.)\n"));
    fs::remove(dir + "/keychain.sqlite3-mj0123ABCD");

    // Someone else's directory, database, or journal (which SQLite would play
    // back into the store, or write its pages to) is refused.
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    const uid_t other = 65534;
    for (const std::string file : {"keychain.sqlite3", "keychain.sqlite3-journal"}) {
        std::ofstream(dir + "/" + file, std::ios::app) << "";
        ASSERT_EQ(::chown((dir + "/" + file).c_str(), other, other), 0);
        EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 1, "",
                            "Error: Failed to retrieve value. (-25291: The keychain is not available: */" + file +
                                " belongs to another user.)\n"));
        ASSERT_EQ(::chown((dir + "/" + file).c_str(), 0, 0), 0);
    }
    fs::remove(dir + "/keychain.sqlite3-journal");
    ASSERT_EQ(::chown(dir.c_str(), other, other), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/new"}, "secret"), 1, "",
                        "Error: biometryAny unavailable: The simulated device is unusable: "
                        "*/tresk-simulator belongs to another user.\n"));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 1, "",
                        "Error: Failed to retrieve value. (-25291: The keychain is not available: "
                        "*/tresk-simulator belongs to another user.)\n"));
}

// A file of the simulator's that is not a regular file is refused, however
// it would behave: a FIFO someone reads, a device that swallows what is written.
TEST(Hostile, OnlyRegularFilesAreTrusted) {
    enum Kind { ReadFifo, Device };
    struct Case {
        std::string file;
        Kind kind;
        std::string err;
    } cases[] = {
        {"prompts.log", ReadFifo,
         "Error: Failed to retrieve value. (-25291: The keychain is not available: the prompt could not be recorded: "
         "*/prompts.log is not a regular file.)\n"},
        {"prompts.log", Device,
         "Error: Failed to retrieve value. (-25291: The keychain is not available: the prompt could not be recorded: "
         "*/prompts.log is not a regular file.)\n"},
        {"keychain.sqlite3", ReadFifo,
         "Error: Failed to retrieve value. (-25291: The keychain is not available: "
         "*/keychain.sqlite3 is not a regular file.)\n"},
        {"keychain.sqlite3-journal", ReadFifo,  // SQLite would wait on it, past its lock timeout
         "Error: Failed to retrieve value. (-25291: The keychain is not available: "
         "*/keychain.sqlite3-journal is not a regular file.)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + (c.kind == Device ? " as a device" : " as a FIFO"));
        if (c.kind == Device && ::geteuid() != 0) continue;  // only root makes device nodes
        Sandbox sandbox;
        ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));
        const std::string path = sandbox.simulatorDir() + "/" + c.file;
        fs::remove(path);
        int reader = -1;
        if (c.kind == ReadFifo) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);  // a writer's open then succeeds
            ASSERT_GE(reader, 0);
        } else {
            ASSERT_EQ(::mknod(path.c_str(), S_IFCHR | 0600, ::makedev(1, 3)), 0) << "as /dev/null";
        }
        EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 1, "", c.err));
        if (reader >= 0) ::close(reader);
    }
}

TEST(Hostile, DamagedDatabasesAreReportedAsDamaged) {
    const char* damages[] = {
        "PRAGMA user_version = 1;",                                    // the first layout's version, no table
        "PRAGMA user_version = 1; CREATE TABLE items (class TEXT);",    // a table of the wrong shape
        "PRAGMA user_version = 2;",                                    // the present version, no table
        "PRAGMA user_version = 2; CREATE TABLE items (class TEXT);",
        "PRAGMA user_version = 7; CREATE TABLE t (x);",                 // somebody else's
        "CREATE TABLE theirs (x);",                                     // no version, but not empty
    };
    for (const char* damage : damages) {
        SCOPED_TRACE(damage);
        Sandbox sandbox;
        fs::create_directories(sandbox.simulatorDir());
        const std::string path = sandbox.simulatorDir() + "/keychain.sqlite3";
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, damage, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        for (std::vector<std::string> args : {std::vector<std::string>{"list"}, {"get", "ns/k"}, {"delete", "ns/k"}}) {
            Result r = sandbox.run(args, "v");
            EXPECT_TRUE(Outcome(r, 1, "", "Error: Failed to * (-25295: *)\n")) << args[0];
        }
        EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 1, "", "Error: Failed to add key. (-25295: *)\n"));
    }
}

// The store the program made, with something added that it did not make: a
// trigger would run inside its own transactions, a view would stand in for
// its table, a table defined otherwise would replace a value where add must
// refuse. Each is a damaged store, before and after anything is stored.
TEST(Hostile, ForeignSchemaObjectsAreDamage) {
    const char* additions[] = {
        "CREATE TRIGGER wipe AFTER INSERT ON items BEGIN DELETE FROM items; END;",
        "ALTER TABLE items RENAME TO real_items; CREATE VIEW items AS SELECT * FROM real_items;",
        "CREATE TABLE other (x);",
        "CREATE INDEX by_account ON items (account);",
        "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = replace(sql, 'synchronizable))',"
        " 'synchronizable) ON CONFLICT REPLACE)') WHERE name = 'items';",
    };
    for (const char* addition : additions) {
        SCOPED_TRACE(addition);
        Sandbox sandbox;
        ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((sandbox.simulatorDir() + "/keychain.sqlite3").c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, addition, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        for (std::vector<std::string> args : {std::vector<std::string>{"list"}, {"get", "ns/k"}, {"delete", "ns/k"}}) {
            EXPECT_TRUE(Outcome(sandbox.run(args), 1, "", "Error: Failed to * (-25295: *)\n")) << args[0];
        }
        EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/new"}, "v"), 1, "", "Error: Failed to add key. (-25295: *)\n"));
        EXPECT_TRUE(sandbox.prompts().empty());
    }
}

// An item whose access control the simulated Mac cannot read (written by
// another program) is never released, and nobody is asked, whatever the user
// would answer.
TEST(Hostile, AccessFlagsThatAreNotModelledReleaseNothing) {
    const char* flags[] = {"'biometryAny'", "16", "18", "2.5", "-1", "4294967296", "x'02'", "NULL"};
    for (const char* answer : {"approve", "cancel"}) {
        Sandbox sandbox;
        sandbox.writeProfile(std::string("answer = ") + answer + "\n");
        ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((sandbox.simulatorDir() + "/keychain.sqlite3").c_str(), &db), SQLITE_OK);
        // Rebuilt without NOT NULL on the flags, so that a NULL can be stored
        // too, then given its own definition back (any other is damage).
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = replace(sql,"
                                   " 'access_flags INTEGER NOT NULL', 'access_flags INTEGER') WHERE name = 'items';",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        ASSERT_EQ(sqlite3_open((sandbox.simulatorDir() + "/keychain.sqlite3").c_str(), &db), SQLITE_OK);
        for (std::size_t i = 0; i < std::size(flags); ++i) {
            const std::string sql = "INSERT INTO items SELECT class, 'odd', '" + std::to_string(i) +
                                    "', synchronizable, " + flags[i] +
                                    ", protection, enrollment, created, modified, data FROM items WHERE service = 'ns'";
            ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        }
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = replace(sql,"
                                   " 'access_flags INTEGER,', 'access_flags INTEGER NOT NULL,') WHERE name = 'items';",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        for (std::size_t i = 0; i < std::size(flags); ++i) {
            SCOPED_TRACE(std::string(answer) + " " + flags[i]);
            EXPECT_TRUE(Outcome(sandbox.run({"get", "odd/" + std::to_string(i)}), 1, "",
                                "Error: Failed to retrieve value. (-25293: *)\n"));
        }
        EXPECT_TRUE(sandbox.prompts().empty());
    }
}

// A store the user cannot write (a read-only file system, or the owner's
// write permission taken away) is still read; only what would write it fails.
TEST(Hostile, AStoreThatCannotBeWrittenIsStillRead) {
    Sandbox sandbox;
    ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));
    ASSERT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 0, "v", ""));  // the prompt log is there
    Invocation as;
    if (::geteuid() == 0) {
        // Root writes whatever the modes say: the runs are made as nobody, from
        // a copy of the bundle that nobody can reach.
        const fs::path bundle = fs::path(sandbox.home()) / "Tresk.app";
        fs::copy(fs::path(TRESK_BINARY).parent_path().parent_path().parent_path(), bundle, fs::copy_options::recursive);
        as.executable = (bundle / "Contents/MacOS/tresk").string();
        as.user = 65534;
        sandbox.giveTo(65534);
    }
    const std::string dir = sandbox.simulatorDir();
    ASSERT_EQ(::chmod((dir + "/keychain.sqlite3").c_str(), 0400), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0500), 0);
    auto run = [&](std::vector<std::string> args, std::string input = {}) {
        Invocation v = as;
        v.args = std::move(args);
        v.input = std::move(input);
        return sandbox.run(v);
    };
    EXPECT_TRUE(Outcome(run({"list"}), 0, "ns/k\n", ""));
    EXPECT_TRUE(Outcome(run({"get", "ns/k"}), 0, "v", ""));
    const std::string unwritable = "(-25291: The keychain is not available: */keychain.sqlite3 cannot be written.)\n";
    EXPECT_TRUE(Outcome(run({"add", "ns/new"}, "v"), 1, "", "Error: Failed to add key. " + unwritable));
    EXPECT_TRUE(Outcome(run({"delete", "ns/k"}), 1, "", "Error: Failed to delete key. " + unwritable));
    ASSERT_EQ(::chmod(dir.c_str(), 0700), 0);
    EXPECT_EQ(sandbox.prompts().size(), 2u);
}

}  // namespace
}  // namespace e2e
