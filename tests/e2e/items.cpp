// Values, addresses and listing through the built binary and the simulated Keychain.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <cstddef>
#include <iterator>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include <sqlite3.h>

#include "harness/harness.h"

namespace e2e {
namespace {

const std::string added = "Key added successfully.\n", deleted = "Key deleted successfully.\n";
const std::string invalidKey = "Error: Invalid NAMESPACE/KEY.\n", notFound = "Error: Key not found.\n";

TEST(Items, ValuesComeBackByteForByte) {
    const std::string values[] = {
        std::string("a\0b\0", 4), "\xff\xfe\xc3(\x80", "line\n", "\n", " padded ",
        noise(3 << 19),  // one and a half of the store's 1 MiB pieces: the last one is short
        noise(64 << 20),
    };
    Sandbox sandbox;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::string key = "values/" + std::to_string(i);
        SCOPED_TRACE(key + " " + show(values[i]));
        EXPECT_TRUE(Outcome(sandbox.run({"add", key}, values[i]), 0, "", added));
        EXPECT_TRUE(Outcome(sandbox.run({"get", key}), 0, values[i], ""));
    }
}

// `tresk add a/b < file`: the file is the value, whatever its size.
TEST(Items, ARedirectedFileIsTheValue) {
    const std::string values[] = {"v", std::string("\0\xff\n", 3), noise(3 << 19)};
    Sandbox sandbox;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::string key = "file/" + std::to_string(i);
        SCOPED_TRACE(key + " " + show(values[i]));
        const Invocation add{.args = {"add", key}, .input = values[i], .stdinKind = Input::File};
        EXPECT_TRUE(Outcome(sandbox.run(add), 0, "", added));
        EXPECT_TRUE(Outcome(sandbox.run({"get", key}), 0, values[i], ""));
    }
    const Invocation empty{.args = {"add", "file/empty"}, .stdinKind = Input::File};
    EXPECT_TRUE(Outcome(sandbox.run(empty), 1, "", "Error: No value provided via stdin.\n"));
}

// Piped input is gathered in pieces that are given back as they are moved
// into the value's buffer: the value is resident once, plus a piece, never
// twice. (The peak also counts what the forked test process held, the value
// among it: less than the bound too.)
TEST(Items, APipedValueIsResidentOnce) {
    constexpr std::size_t mebibyte = 1 << 20, size = 64 * mebibyte;
    Sandbox sandbox;
    // Over what a run needs without the value: a sanitizer's runtime alone
    // takes tens of MiB.
    Result small = sandbox.run({"add", "small/value"}, "v");
    ASSERT_TRUE(Outcome(small, 0, "", added));
    Result r = sandbox.run({"add", "big/value"}, std::string(size, 'v'));
    ASSERT_TRUE(Outcome(r, 0, "", added));
    EXPECT_LT(r.peakResident, small.peakResident + size + 32 * mebibyte)
        << "peak " << r.peakResident / mebibyte << " MiB, " << small.peakResident / mebibyte << " MiB without the value";
}

// A refused add stores nothing, whatever it refused first.
TEST(Items, RefusedInputStoresNothing) {
    Sandbox sandbox;
    const Invocation fromTerminal{.args = {"add", "a/b"}, .stdinKind = Input::Terminal};
    EXPECT_TRUE(Outcome(sandbox.run(fromTerminal), 1, "", "Error: Value must *\n"));
    EXPECT_TRUE(Outcome(sandbox.run({"add", "a/b"}, ""), 1, "", "Error: No value *\n"));
    EXPECT_TRUE(Outcome(sandbox.run({"add", "nokey"}, noise(1 << 20)), 1, "", invalidKey));
    EXPECT_TRUE(Outcome(sandbox.run({"add", "a/b", "--policy", "UserPresence"}, "v"), 1, "",
                        "Error: Unknown policy.*\n"));
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "", ""));
}

TEST(Items, InvalidAddressesTouchNothing) {
    Sandbox sandbox;
    for (const char* key : {"a", "a/", "/b", "/", "", "a/\xcc\x81" "b"}) {
        for (const char* command : {"add", "get", "delete"}) {
            EXPECT_TRUE(Outcome(sandbox.run({command, key}, "v"), 1, "", invalidKey)) << command << " " << show(key);
        }
    }
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "", ""));
    EXPECT_TRUE(sandbox.prompts().empty());
}

TEST(Items, AddNeverReplaces) {
    Sandbox sandbox;
    EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/k", "--policy", "userPresence"}, "old"), 0, "", added));
    EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "new"), 1, "", "Error: Key already exists.\n"));
    EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/k", "--policy", "biometryCurrentSet"}, "new"), 1, "",
                        "Error: Key already exists.\n"));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 0, "old", ""));
    // The kept item still asks for Touch ID or the password, as userPresence does.
    EXPECT_EQ(sandbox.prompts(), std::vector<std::string>{"touch-id-or-password\tUnlock ns/k"});
}

TEST(Items, DeleteRemovesOnce) {
    Sandbox sandbox;
    EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));
    EXPECT_TRUE(Outcome(sandbox.run({"DELETE", "ns/k"}), 0, "", deleted));
    EXPECT_TRUE(Outcome(sandbox.run({"delete", "ns/k"}), 1, "", notFound));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 1, "", notFound));
    EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "again"), 0, "", added));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 0, "again", ""));
}

TEST(Items, AddressesAreTakenAsTyped) {
    Sandbox sandbox;
    const std::vector<std::string> keys = {"ns/k", "NS/K", " ns / k ", "ns/a/b", "ns//b", "caf\xc3\xa9/k"};
    for (const auto& key : keys) EXPECT_TRUE(Outcome(sandbox.run({"add", key}, "value of " + key), 0, "", added));
    EXPECT_TRUE(Outcome(sandbox.run({"LIST"}), 0, " ns / k \nNS/K\ncaf\xc3\xa9/k\nns//b\nns/a/b\nns/k\n", ""));
    EXPECT_TRUE(sandbox.prompts().empty()) << "add and list never prompt";

    std::vector<std::string> expectedPrompts;
    for (const auto& key : keys) {
        EXPECT_TRUE(Outcome(sandbox.run({"Get", key}), 0, "value of " + key, ""));
        expectedPrompts.push_back("touch-id\tUnlock " + key);
        EXPECT_EQ(sandbox.prompts(), expectedPrompts) << "one prompt per get, naming the item";
    }
    EXPECT_TRUE(Outcome(sandbox.run({"delete", "NS/K"}), 0, "", deleted));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "NS/K"}), 1, "", notFound));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 0, "value of ns/k", ""));
    EXPECT_EQ(sandbox.prompts().size(), keys.size() + 1) << "delete and a missing item never prompt";
}

TEST(Items, ListingOrder) {
    const std::string nfc = "\xc3\xa9", nfd = "e\xcc\x81";  // é precomposed, and e + combining acute
    struct Case {
        std::vector<std::string> inserted;
        std::string listed;
    } cases[] = {
        {{"home/a", "Work/a"}, "Work/a\nhome/a\n"},
        {{"ns0/a", "ns/a", "ns-x/a"}, "ns-x/a\nns/a\nns0/a\n"},
        {{"ns/a0", "ns/a/b", "ns/a"}, "ns/a\nns/a/b\nns/a0\n"},
        {{nfc + "/a", "z/a"}, "z/a\n" + nfc + "/a\n"},
        // Canonically equal entries keep the Keychain's order, and sort after f as é does.
        {{nfc + "/a", "f/a", nfd + "/a"}, "f/a\n" + nfc + "/a\n" + nfd + "/a\n"},
        {{nfd + "/a", nfc + "/a", "f/a"}, "f/a\n" + nfd + "/a\n" + nfc + "/a\n"},
    };
    for (const auto& c : cases) {
        Sandbox sandbox;
        for (const auto& key : c.inserted) ASSERT_TRUE(Outcome(sandbox.run({"add", key}, "v"), 0, "", added));
        EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, c.listed, ""));
    }
}

// A store written by the first layout (the value stored before the other
// columns, the protection class akpu) is moved to the present one when it is
// opened: every item and value kept, the class mended.
TEST(Items, AStoreOfTheFirstLayoutIsMigrated) {
    Sandbox sandbox;
    std::filesystem::create_directories(sandbox.simulatorDir());
    const std::string path = sandbox.simulatorDir() + "/keychain.sqlite3";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const char* firstLayout =
        "CREATE TABLE items (class TEXT NOT NULL, service TEXT NOT NULL, account TEXT NOT NULL,"
        " synchronizable INTEGER NOT NULL, data BLOB NOT NULL, access_flags INTEGER NOT NULL,"
        " protection TEXT NOT NULL, enrollment TEXT NOT NULL, created REAL NOT NULL, modified REAL NOT NULL,"
        " PRIMARY KEY (class, service, account, synchronizable));"
        "INSERT INTO items VALUES ('genp', 'old', 'k', 0, x'00ff0a', 2, 'akpu', '1', 1, 1);"
        "INSERT INTO items VALUES ('genp', 'old', 'p', 0, 'by password', 1, 'akpu', '1', 2, 2);"
        "PRAGMA user_version = 1;";
    ASSERT_EQ(sqlite3_exec(db, firstLayout, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "old/k\nold/p\n", ""));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "old/k"}), 0, std::string("\0\xff\n", 3), ""));
    EXPECT_TRUE(Outcome(sandbox.run({"get", "old/p"}), 0, "by password", ""));
    EXPECT_EQ(sandbox.prompts(), (std::vector<std::string>{"touch-id\tUnlock old/k", "touch-id-or-password\tUnlock old/p"}));
    EXPECT_TRUE(Outcome(sandbox.run({"add", "new/k"}, "v"), 0, "", added));

    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    std::string layout;
    sqlite3_exec(db, "SELECT group_concat(name, ',') FROM pragma_table_info('items');"
                     "SELECT group_concat(DISTINCT protection) FROM items; PRAGMA user_version;",
                 [](void* out, int, char** values, char**) {
                     *static_cast<std::string*>(out) += std::string(values[0] ? values[0] : "") + ";";
                     return 0;
                 },
                 &layout, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(layout,
              "class,service,account,synchronizable,access_flags,protection,enrollment,created,modified,data;aku;2;");
}

// A run that must create or migrate the store reads it first, then writes:
// while another connection holds the write lock it waits its turn instead
// of failing, and then does what it was asked.
TEST(Items, ARunWaitsForTheWriterBeforeIt) {
    const char* const firstLayout =
        "CREATE TABLE items (class TEXT NOT NULL, service TEXT NOT NULL, account TEXT NOT NULL,"
        " synchronizable INTEGER NOT NULL, data BLOB NOT NULL, access_flags INTEGER NOT NULL,"
        " protection TEXT NOT NULL, enrollment TEXT NOT NULL, created REAL NOT NULL, modified REAL NOT NULL,"
        " PRIMARY KEY (class, service, account, synchronizable));"
        "INSERT INTO items VALUES ('genp', 'old', 'k', 0, 'v', 2, 'akpu', '1', 1, 1);"
        "PRAGMA user_version = 1;";
    struct Case {
        std::string what, before, listed;
    } cases[] = {
        {"a store still to be made", "", "ns/k\n"},
        {"a store of the first layout", firstLayout, "ns/k\nold/k\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sandbox;
        std::filesystem::create_directories(sandbox.simulatorDir());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((sandbox.simulatorDir() + "/keychain.sqlite3").c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, c.before.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

        std::atomic<bool> inputRead = false, finished = false;
        Result r;
        std::thread run([&] {
            r = sandbox.run({.args = {"add", "ns/k"}, .input = "v", .whileInputOpen = [&](pid_t) { inputRead = true; }});
            finished = true;
        });
        while (!inputRead && !finished) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Past its input the run reaches the store in milliseconds; then it waits.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_FALSE(finished) << "the run did not wait for the lock";
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        run.join();
        EXPECT_TRUE(Outcome(r, 0, "", added));
        EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, c.listed, ""));
    }
}

TEST(Items, ConcurrentAddsOfOneKey) {
    constexpr int runs = 16;
    Sandbox sandbox;
    std::vector<Result> results(runs);
    std::latch start(runs);
    std::vector<std::thread> threads;
    for (int i = 0; i < runs; ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            results[i] = sandbox.run({"add", "race/k"}, "value " + std::to_string(i));
        });
    }
    for (auto& t : threads) t.join();
    int winners = 0, duplicates = 0;
    std::string winner;
    for (int i = 0; i < runs; ++i) {
        if (Outcome(results[i], 0, "", added)) ++winners, winner = "value " + std::to_string(i);
        else if (Outcome(results[i], 1, "", "Error: Key already exists.\n")) ++duplicates;
        else ADD_FAILURE() << "run " << i << Outcome(results[i], 0, "", added).message();
    }
    EXPECT_EQ(winners, 1);
    EXPECT_EQ(duplicates, runs - 1);
    EXPECT_TRUE(Outcome(sandbox.run({"get", "race/k"}), 0, winner, ""));
    EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "race/k\n", ""));
}

}  // namespace
}  // namespace e2e
