// What the Mac offers decides what add accepts and what get releases.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "harness/harness.h"

namespace e2e {
namespace {

const std::string added = "Key added successfully.\n";
const char* const policies[] = {"biometryAny", "biometryCurrentSet", "userPresence"};

TEST(SimulatedMac, PolicyCheckAtAdd) {
    const std::string ok = added;
    auto unavailable = [](std::string p) { return "Error: " + p + " unavailable: *\n"; };
    auto notTouchID = [](std::string p) { return "Error: Touch ID must be available and enrolled for " + p + ".\n"; };
    struct Case {
        std::string profile;
        std::string err[3];  // per policy, in the order above
    } cases[] = {
        {"", {ok, ok, ok}},
        {"biometry = none\n", {unavailable("biometryAny"), unavailable("biometryCurrentSet"), ok}},
        {"enrolled = no\n", {unavailable("biometryAny"), unavailable("biometryCurrentSet"), ok}},
        {"biometry = face-id\n", {notTouchID("biometryAny"), notTouchID("biometryCurrentSet"), ok}},
        {"biometry = face-id\nenrolled = no\n", {unavailable("biometryAny"), unavailable("biometryCurrentSet"), ok}},
        {"biometry = none\npassword = no\n",
         {unavailable("biometryAny"), unavailable("biometryCurrentSet"), unavailable("userPresence")}},
    };
    for (const auto& c : cases) {
        Sandbox sandbox;
        sandbox.writeProfile(c.profile);
        std::string stored;
        for (int p = 0; p < 3; ++p) {
            const std::string key = std::string("p/") + policies[p];
            const bool accepted = c.err[p] == added;
            Result r = sandbox.run({"add", key, "--policy", policies[p]}, "v");
            EXPECT_TRUE(Outcome(r, accepted ? 0 : 1, "", c.err[p])) << show(c.profile) << " " << policies[p];
            if (accepted) stored += key + "\n";
        }
        EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, stored, "")) << show(c.profile);
        EXPECT_TRUE(sandbox.prompts().empty());
    }
}

TEST(SimulatedMac, ReadsAfterTheMacChanged) {
    const std::string refused = "Error: Failed to retrieve value. (-25293: *)\n";
    const std::string canceled = "Error: Authentication canceled.\n";
    struct Read {
        std::string err, prompt;  // err empty: the value is released
    };
    struct Case {
        std::string profile;
        Read reads[3];  // per policy, in the order above
    } cases[] = {
        {"", {{"", "touch-id"}, {"", "touch-id"}, {"", "touch-id-or-password"}}},
        {"enrollment = 2\n", {{"", "touch-id"}, {refused, ""}, {"", "touch-id-or-password"}}},
        {"biometry = none\n", {{refused, ""}, {refused, ""}, {"", "password"}}},
        {"enrolled = no\n", {{refused, ""}, {refused, ""}, {"", "password"}}},
        {"biometry = none\npassword = no\n", {{refused, ""}, {refused, ""}, {refused, ""}}},
        {"answer = cancel\n", {{canceled, "touch-id"}, {canceled, "touch-id"}, {canceled, "touch-id-or-password"}}},
    };
    for (const auto& c : cases) {
        Sandbox sandbox;
        for (const char* policy : policies) {
            Result r = sandbox.run({"add", std::string("p/") + policy, "--policy", policy}, policy);
            ASSERT_TRUE(Outcome(r, 0, "", added));
        }
        sandbox.writeProfile(c.profile);
        for (int p = 0; p < 3; ++p) {
            const std::string key = std::string("p/") + policies[p];
            const Read& read = c.reads[p];
            const auto before = sandbox.prompts().size();
            Result r = sandbox.run({"get", key});
            EXPECT_TRUE(Outcome(r, read.err.empty() ? 0 : 1, read.err.empty() ? policies[p] : "", read.err))
                << show(c.profile) << " " << policies[p];
            auto prompts = sandbox.prompts();
            prompts.erase(prompts.begin(), prompts.begin() + static_cast<long>(before));
            auto expected = read.prompt.empty() ? std::vector<std::string>{}
                                                : std::vector<std::string>{read.prompt + "\tUnlock " + key};
            EXPECT_EQ(prompts, expected) << show(c.profile) << " " << policies[p];
        }
    }
}

// Without the entitlement nothing is added, removed or released, whether the
// system refuses such a build's reads or answers them as if nothing were
// stored; what was stored before is there again once it is back.
TEST(SimulatedMac, MissingEntitlementTouchesNoItem) {
    const std::string hint = "; run the signed executable inside its provisioned .app bundle (see BUILD.md)\n";
    for (std::string profile : {"entitlement = missing\n", "entitlement = missing\nunentitled-reads = not-found\n"}) {
        SCOPED_TRACE(show(profile));
        Sandbox sandbox;
        ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));
        sandbox.writeProfile(profile);
        EXPECT_TRUE(Outcome(sandbox.run({"add", "ns/new"}, "v"), 1, "", "Error: Failed to add key. (-34018: *)" + hint));
        EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 1, "", "Error: Failed to retrieve value. (-34018: *)" + hint));
        EXPECT_TRUE(Outcome(sandbox.run({"delete", "ns/k"}), 1, "", "Error: Failed to delete key. (-34018: *)" + hint));
        EXPECT_TRUE(Outcome(sandbox.run({"list"}), 1, "", "Error: Failed to list keys. (-34018: *)" + hint));
        EXPECT_TRUE(sandbox.prompts().empty());
        sandbox.writeProfile("");
        EXPECT_TRUE(Outcome(sandbox.run({"list"}), 0, "ns/k\n", ""));
        EXPECT_TRUE(Outcome(sandbox.run({"get", "ns/k"}), 0, "v", ""));
    }
}

TEST(SimulatedMac, DamagedStoreIsReportedWithItsStatus) {
    enum Damage { Garbage, Directory, Profile };
    struct Case {
        Damage damage;
        std::string status;
    } damages[] = {{Garbage, "-25295"}, {Directory, "-25291"}, {Profile, "-25291"}};
    struct Command {
        std::vector<std::string> args;
        std::string message;
    } commands[] = {
        {{"get", "ns/k"}, "Failed to retrieve value."},
        {{"delete", "ns/k"}, "Failed to delete key."},
        {{"list"}, "Failed to list keys."},
        {{"add", "ns/other", "--policy", "userPresence"}, "Failed to add key."},
    };
    for (const auto& d : damages) {
        Sandbox sandbox;
        ASSERT_TRUE(Outcome(sandbox.run({"add", "ns/k"}, "v"), 0, "", added));
        const std::string db = sandbox.simulatorDir() + "/keychain.sqlite3";
        if (d.damage == Garbage) std::ofstream(db, std::ios::trunc) << std::string(8192, 'G');
        if (d.damage == Directory) {
            std::filesystem::remove(db);
            std::filesystem::create_directory(db);
        }
        if (d.damage == Profile) sandbox.writeProfile("answer = perhaps\n");
        for (const auto& c : commands) {
            // The profile's own fault surfaces at add's authentication check instead.
            std::string err = d.damage == Profile && c.args[0] == "add"
                                  ? "Error: userPresence unavailable: *\n"
                                  : "Error: " + c.message + " (" + d.status + ": *)\n";
            EXPECT_TRUE(Outcome(sandbox.run(c.args, "v"), 1, "", err)) << d.status << " " << c.args[0];
        }
    }
}

TEST(SimulatedMac, FilesArePrivate) {
    for (bool xdg : {true, false}) {
        for (bool preexisting : {false, true}) {
            Sandbox sandbox;
            sandbox.useXdg = xdg;
            const std::string dir = sandbox.simulatorDir();
            if (preexisting) {
                // The user's own, left loose: made private when opened.
                std::filesystem::create_directories(dir);
                std::filesystem::permissions(dir, std::filesystem::perms::all);
                std::ofstream(dir + "/keychain.sqlite3") << "";
                std::ofstream(dir + "/prompts.log") << "";
                std::filesystem::permissions(dir + "/keychain.sqlite3", static_cast<std::filesystem::perms>(0644));
                std::filesystem::permissions(dir + "/prompts.log", static_cast<std::filesystem::perms>(0666));
            }
            SCOPED_TRACE(dir + (preexisting ? " (existed, mode 0777, files 0644 and 0666)" : ""));
            // No umask helps: the modes are the program's own.
            ASSERT_TRUE(Outcome(sandbox.run({.args = {"add", "ns/k"}, .input = "v", .umask = 0}), 0, "", added));
            ASSERT_TRUE(Outcome(sandbox.run({.args = {"get", "ns/k"}, .umask = 0}), 0, "v", ""));
            auto mode = [](const std::string& path) {
                struct stat st {};
                return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 01000000;
            };
            EXPECT_EQ(mode(dir), 0700u);
            // Parents the simulator made are the user's alone too.
            auto parents = xdg ? std::vector<std::string>{"/data"} : std::vector<std::string>{"/.local", "/.local/share"};
            if (preexisting) parents.clear();  // made by the test, as it pleased
            for (const auto& parent : parents) EXPECT_EQ(mode(sandbox.home() + parent), 0700u) << parent;
            EXPECT_EQ(mode(dir + "/keychain.sqlite3"), 0600u);
            EXPECT_EQ(mode(dir + "/prompts.log"), 0600u);
            for (const auto& entry : std::filesystem::directory_iterator(dir)) {
                EXPECT_EQ(mode(entry.path()) & 077, 0u) << entry.path();
            }
        }
    }
}

}  // namespace
}  // namespace e2e
