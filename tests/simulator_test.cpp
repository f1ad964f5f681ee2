// The simulated Keychain's contract, as the commands and a real Mac expect it.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include <gtest/gtest.h>

#include "fakes.h"
#include "simulator/item_store.h"
#include "simulator/prompt_log.h"
#include "simulator/simulator_files.h"
#include "store/address.h"
#include "store/keychain/keychain.h"

namespace tresk {
namespace {

namespace fs = std::filesystem;

class SimulatedKeychainTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("tresk-sim-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
        keychain_ = makeSystemKeychain();
    }
    void TearDown() override {
        keychain_.reset();
        ::unsetenv("XDG_DATA_HOME");
        fs::remove_all(root_);
    }
    void profile(const std::string& text) {
        ASSERT_TRUE(simulator::ensureDirectory());
        std::ofstream(simulator::profilePath()) << text;
    }
    OSStatus add(const std::string& service, const std::string& account, const std::string& value,
                 std::uint32_t flags = accessControlFlag::biometryAny) {
        KeychainQuery q = baseQuery(service, account);
        q[Attribute::ValueData] = Bytes::copyOf(value);
        q[Attribute::AccessControl] = *keychain_->createAccessControl(flags);
        return keychain_->add(q).status;
    }
    CopyResult get(const std::string& service, const std::string& account) {
        KeychainQuery q = baseQuery(service, account);
        q[Attribute::ReturnData] = true;
        q[Attribute::MatchLimit] = Constant::MatchLimitOne;
        q[Attribute::UseAuthenticationContext] = AuthenticationPrompt{"Unlock " + service + "/" + account, 0};
        return keychain_->copyMatching(q, {});
    }
    std::string value(const CopyResult& r) {
        const Bytes* data = r.result.asData();
        return data ? std::string(reinterpret_cast<const char*>(data->data()), data->size()) : "<none>";
    }
    std::string prompts() {
        std::ifstream in(simulator::promptLogPath());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    CopyResult listAll() {
        KeychainQuery q = baseQuery(std::nullopt, std::nullopt);
        q[Attribute::ReturnAttributes] = true;
        q[Attribute::MatchLimit] = Constant::MatchLimitAll;
        return keychain_->copyMatching(q, {});
    }

    fs::path root_;
    std::unique_ptr<Keychain> keychain_;
};

TEST_F(SimulatedKeychainTest, StoresMatchesAndDeletes) {
    const std::string binary("\0\xff\xfe\n", 4);
    EXPECT_EQ(add("ns", "Key", binary), status::success);
    EXPECT_EQ(add("ns", "key", "lower"), status::success);
    EXPECT_EQ(add("ns", "Key", "again", accessControlFlag::userPresence), status::duplicateItem);
    EXPECT_EQ(value(get("ns", "Key")), binary);
    EXPECT_EQ(value(get("ns", "key")), "lower");
    EXPECT_EQ(get("ns", "KEY").status.status, status::itemNotFound);
    EXPECT_EQ(get("NS", "Key").status.status, status::itemNotFound);
    EXPECT_EQ(prompts(), "touch-id\tUnlock ns/Key\ntouch-id\tUnlock ns/key\n");

    EXPECT_EQ(keychain_->remove(baseQuery("ns", "Key")).status, status::success);
    EXPECT_EQ(keychain_->remove(baseQuery("ns", "Key")).status, status::itemNotFound);
    EXPECT_EQ(value(get("ns", "key")), "lower");
}

TEST_F(SimulatedKeychainTest, ListsAttributesWithoutValues) {
    EXPECT_EQ(listAll().status.status, status::itemNotFound);
    add("b", "2", "v");
    add("a", "1/x", "w");
    CopyResult r = listAll();
    ASSERT_EQ(r.status.status, status::success);
    ASSERT_TRUE(r.result.asArray());
    ASSERT_EQ(r.result.asArray()->size(), 2u);
    const PropertyList& first = r.result.asArray()->at(0);
    EXPECT_EQ(*first.find(serviceAttributeName)->asText(), "b");
    EXPECT_EQ(*first.find(accountAttributeName)->asText(), "2");
    EXPECT_EQ(first.find("v_Data"), nullptr);
    EXPECT_EQ(prompts(), "");  // attributes need no authentication

    // What a caller reads is all that is converted.
    KeychainQuery names = baseQuery(std::nullopt, std::nullopt);
    names[Attribute::ReturnAttributes] = true;
    names[Attribute::MatchLimit] = Constant::MatchLimitAll;
    const Attribute read[] = {Attribute::Service};
    CopyResult few = keychain_->copyMatching(names, read);
    ASSERT_EQ(few.status.status, status::success);
    ASSERT_EQ(few.result.asArray()->size(), 2u);
    EXPECT_EQ(few.result.asArray()->at(1).asDictionary()->size(), 1u);
    EXPECT_EQ(*few.result.asArray()->at(1).find("svce")->asText(), "a");

    // One item's attributes, or anything else the program never asks for, is refused.
    KeychainQuery one = baseQuery("a", "1/x");
    one[Attribute::ReturnAttributes] = true;
    EXPECT_EQ(keychain_->copyMatching(one, {}).status.status, status::param);
    one[Attribute::ReturnData] = true;
    EXPECT_EQ(keychain_->copyMatching(one, {}).status.status, status::param);
}

TEST_F(SimulatedKeychainTest, RefusesQueriesOutsideTheDataProtectionKeychain) {
    KeychainQuery q = baseQuery("a", "b");
    q.erase(Attribute::UseDataProtectionKeychain);
    EXPECT_EQ(keychain_->remove(q).status, status::param);
    KeychainQuery all = baseQuery(std::nullopt, std::nullopt);
    all[Attribute::ReturnData] = true;
    all[Attribute::MatchLimit] = Constant::MatchLimitAll;
    EXPECT_EQ(keychain_->copyMatching(all, {}).status.status, status::param);
}

TEST_F(SimulatedKeychainTest, ReleasesValuesOnlyAsTheirPolicyAllows) {
    using namespace accessControlFlag;
    add("p", "any", "1", biometryAny);
    add("p", "set", "2", biometryCurrentSet);
    add("p", "presence", "3", userPresence);
    struct Case {
        std::string profile;
        OSStatus any, set, presence;
        std::string prompts;
    } cases[] = {
        {"answer = cancel\n", status::userCanceled, status::userCanceled, status::userCanceled,
         "touch-id\tUnlock p/any\ntouch-id\tUnlock p/set\ntouch-id-or-password\tUnlock p/presence\n"},
        {"enrollment = 2\n", 0, status::authFailed, 0,
         "touch-id\tUnlock p/any\ntouch-id-or-password\tUnlock p/presence\n"},
        {"biometry = none\n", status::authFailed, status::authFailed, 0, "password\tUnlock p/presence\n"},
        {"enrolled = no\npassword = no\n", status::authFailed, status::authFailed,
         status::authFailed, ""},
        {"entitlement = missing\nunentitled-reads = not-found\n", status::itemNotFound, status::itemNotFound,
         status::itemNotFound, ""},
        {"entitlement = missing\n", status::missingEntitlement, status::missingEntitlement, status::missingEntitlement, ""},
    };
    for (const auto& c : cases) {
        fs::remove(simulator::promptLogPath());
        profile(c.profile);
        EXPECT_EQ(get("p", "any").status.status, c.any) << c.profile;
        EXPECT_EQ(get("p", "set").status.status, c.set) << c.profile;
        EXPECT_EQ(get("p", "presence").status.status, c.presence) << c.profile;
        EXPECT_EQ(prompts(), c.prompts) << c.profile;
    }
    EXPECT_EQ(add("p", "new", "x"), status::missingEntitlement);
    EXPECT_EQ(listAll().status.status, status::missingEntitlement);
}

TEST_F(SimulatedKeychainTest, DamagedFilesAreStatusesNotCrashes) {
    add("a", "b", "v");
    keychain_.reset();
    std::ofstream(simulator::keychainPath(), std::ios::trunc) << std::string(4096, 'x');
    keychain_ = makeSystemKeychain();
    const KeychainStatus damaged = get("a", "b").status;
    EXPECT_EQ(damaged.status, status::invalidKeychain);
    EXPECT_EQ(damaged.text, "The keychain database is damaged or is not a keychain.");
    EXPECT_EQ(add("a", "c", "v"), status::invalidKeychain);

    profile("biometry = retina\n");
    // The text comes with the status and says what made the keychain unavailable.
    const KeychainStatus unavailable = listAll().status;
    EXPECT_EQ(unavailable.status, status::notAvailable);
    EXPECT_EQ(unavailable.text,
              "The keychain is not available: device profile line 1: 'retina' is not a value of biometry.");
}

// One record per line, whatever the reason holds: no character can forge a
// record or a field, and the escapes read back unambiguously.
TEST(PromptLog, ReasonsCannotForgeRecords) {
    const std::pair<std::string, std::string> cases[] = {
        {"Unlock ns/k", "Unlock ns/k"},
        {"Unlock a\\b", "Unlock a\\\\b"},
        {"Unlock x\ntouch-id\tUnlock work/api-token", "Unlock x\\x0atouch-id\\x09Unlock work/api-token"},
        {"Unlock a\rb\x1b[2J", "Unlock a\\x0db\\x1b[2J"},
        {"Unlock \\x0a", "Unlock \\\\x0a"},  // a literal backslash-x stays apart from an escape
        {"Unlock \xc2\x85", "Unlock \\u0085"},
    };
    for (const auto& [reason, logged] : cases) {
        SCOPED_TRACE(reason);
        EXPECT_EQ(simulator::loggedReason(reason), logged);
    }
}

TEST_F(SimulatedKeychainTest, FilesArePrivate) {
    add("a", "b", "v");
    EXPECT_EQ(fs::status(simulator::directory()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(simulator::keychainPath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace tresk
