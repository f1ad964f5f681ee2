// The four commands against scripted fakes: every status and result shape.
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "store/address.h"

namespace tresk {
namespace {

using ::testing::Eq;
using ::testing::ExitedWithCode;
using testing::Fakes;
using testing::runCommand;


constexpr const char* notFound = "Error: Key not found.\n";
constexpr const char* invalid = "Error: Invalid NAMESPACE/KEY.\n";
constexpr const char* unexpected = "Error: Keychain returned unexpected data.\n";

// The line of a status the command does not handle itself: the fakes give
// -25293 a text of their own and leave every other status without one.
constexpr const char* refusedText = "Refused by the fake.";
std::string detail(const std::string& message, OSStatus status) {
    return "Error: " + message + " (" + std::to_string(status) + ": " +
           (status == -25293 ? refusedText : "Unknown error") + ")\n";
}

struct ScriptedFakes : Fakes {
    ScriptedFakes() { keychain.statusTexts[-25293] = refusedText; }
};

template <typename T>
const T& at(const KeychainQuery& q, Attribute a) {
    return std::get<T>(q.at(a));
}

TEST(CommandsDeathTest, InvalidKeysMakeNoKeychainCall) {
    for (std::optional<std::string> key : {std::optional<std::string>(), std::optional<std::string>("a"),
                                           std::optional<std::string>("a/"), std::optional<std::string>("/b"),
                                           std::optional<std::string>("")}) {
        SCOPED_TRACE(key ? "\"" + *key + "\"" : "no key");
        Fakes f;
        f.console.input = "v";
        // A call of either service would end the child with status 3 instead.
        f.keychain.forbidden = true;
        f.localAuthentication.forbidden = true;
        EXPECT_EXIT(runCommand("get", key, f.services), ExitedWithCode(1), Eq(invalid));
        EXPECT_EXIT(runCommand("delete", key, f.services), ExitedWithCode(1), Eq(invalid));
        EXPECT_EXIT(runCommand("add", key, f.services, AuthenticationPolicy::biometryAny), ExitedWithCode(1), Eq(invalid));
    }
}

TEST(AddCommandDeathTest, InputIsJudgedBeforeTheKey) {
    Fakes f;
    f.console.terminal = true;
    EXPECT_EXIT(runCommand("add", "bad", f.services, AuthenticationPolicy::biometryAny), ExitedWithCode(1),
                Eq("Error: Value must be provided via stdin (pipe or redirection).\n"));
    f.console.terminal = false;
    EXPECT_EXIT(runCommand("add", "bad", f.services, AuthenticationPolicy::biometryAny), ExitedWithCode(1),
                Eq("Error: No value provided via stdin.\n"));
}

TEST(AddCommandDeathTest, PreCheckOutcomes) {
    using P = AuthenticationPolicy;
    struct Case {
        P policy;
        PolicyEvaluation answer;
        BiometryType biometry;
        std::string error;  // empty: passes
    } cases[] = {
        {P::biometryAny, {false, "No fingers."}, BiometryType::TouchID, "Error: biometryAny unavailable: No fingers.\n"},
        {P::biometryCurrentSet, {false, std::nullopt}, BiometryType::TouchID,
         "Error: biometryCurrentSet unavailable: Authentication unavailable\n"},
        {P::userPresence, {false, "No password."}, BiometryType::None, "Error: userPresence unavailable: No password.\n"},
        {P::biometryAny, {true, std::nullopt}, BiometryType::Other,
         "Error: Touch ID must be available and enrolled for biometryAny.\n"},
        {P::biometryCurrentSet, {true, std::nullopt}, BiometryType::None,
         "Error: Touch ID must be available and enrolled for biometryCurrentSet.\n"},
        {P::userPresence, {true, std::nullopt}, BiometryType::Other, ""},
        {P::biometryAny, {true, std::nullopt}, BiometryType::TouchID, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.policy)) + " " + (c.error.empty() ? "passes" : c.error));
        Fakes f;
        f.console.input = "v";
        f.localAuthentication.answer = c.answer;
        f.localAuthentication.biometry = c.biometry;
        if (c.error.empty()) {
            runCommand("add", "a/b", f.services, c.policy);
            EXPECT_EQ(f.keychain.calls.size(), 2u);
        } else {
            f.keychain.forbidden = true;  // a failed pre-check stores nothing
            EXPECT_EXIT(runCommand("add", "a/b", f.services, c.policy), ExitedWithCode(1), Eq(c.error));
        }
    }
}

TEST(AddCommand, StoresTheExactQuery) {
    using P = AuthenticationPolicy;
    for (auto [policy, flag, laPolicy] :
         {std::tuple{P::biometryAny, accessControlFlag::biometryAny, LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics},
          std::tuple{P::biometryCurrentSet, accessControlFlag::biometryCurrentSet, LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics},
          std::tuple{P::userPresence, accessControlFlag::userPresence, LocalAuthenticationPolicy::DeviceOwnerAuthentication}}) {
        SCOPED_TRACE(rawValue(policy));
        Fakes f;
        f.console.input = std::string("v\0al\n", 5);
        runCommand("add", " a /b/c ", f.services, policy);
        EXPECT_EQ(f.console.confirmations, "Key added successfully.\n");
        EXPECT_EQ(f.console.output, "");
        EXPECT_EQ(f.keychain.calls, (std::vector<std::string>{"createAccessControl:" + std::to_string(flag), "add"}));
        EXPECT_EQ(f.localAuthentication.asked, std::vector{laPolicy});
        const KeychainQuery& q = f.keychain.queries.at(0);
        EXPECT_EQ(q.size(), 7u);
        EXPECT_EQ(at<std::string>(q, Attribute::Service), " a ");
        EXPECT_EQ(at<std::string>(q, Attribute::Account), "b/c ");
        EXPECT_EQ(at<Bytes>(q, Attribute::ValueData), Bytes::copyOf(f.console.input));
        EXPECT_EQ(at<AccessControl>(q, Attribute::AccessControl).flags, flag);
    }
}

TEST(AddCommandDeathTest, AccessControlAndStatuses) {
    ScriptedFakes f;
    f.console.input = "v";
    f.keychain.accessControlProblem = "Error Domain=X Code=1";
    EXPECT_EXIT(runCommand("add", "a/b", f.services, AuthenticationPolicy::userPresence), ExitedWithCode(1),
                Eq("Error: Failed to create userPresence access control: Error Domain=X Code=1\n"));
    f.keychain.accessControlProblem.reset();
    f.keychain.status = status::duplicateItem;
    EXPECT_EXIT(runCommand("add", "a/b", f.services, AuthenticationPolicy::biometryAny), ExitedWithCode(1),
                Eq("Error: Key already exists.\n"));
    const std::string hint = "; run the signed executable inside its provisioned .app bundle (see BUILD.md)";
    for (auto [status, line] : {std::pair{-128, detail("Failed to add key.", -128)},
                                std::pair{-25300, detail("Failed to add key.", -25300)},
                                std::pair{-25293, detail("Failed to add key.", -25293)},
                                std::pair{-34018, "Error: Failed to add key. (-34018: Unknown error)" + hint + "\n"},
                                std::pair{7, detail("Failed to add key.", 7)}}) {
        SCOPED_TRACE(status);
        f.keychain.status = status;
        EXPECT_EXIT(runCommand("add", "a/b", f.services, AuthenticationPolicy::biometryAny), ExitedWithCode(1), Eq(line));
    }
}

// A build without the access group hears so from its own signature, just
// before the item call and never instead of an earlier step, even where the
// system would answer its reads as if nothing were stored.
TEST(CommandsDeathTest, AnUnsignedBuildStopsBeforeItsItemCall) {
    const std::string hint = "; run the signed executable inside its provisioned .app bundle (see BUILD.md)\n";
    auto unsigned_ = [&](const std::string& message) { return "Error: " + message + " (-34018: Missing.)" + hint; };
    struct Case {
        std::string word;
        std::optional<std::string> key;
        PolicyEvaluation preCheck;
        std::optional<std::string> accessControlProblem;
        std::string error;
    } cases[] = {
        {"get", "a/b", {true, {}}, {}, unsigned_("Failed to retrieve value.")},
        {"delete", "a/b", {true, {}}, {}, unsigned_("Failed to delete key.")},
        {"list", {}, {true, {}}, {}, unsigned_("Failed to list keys.")},
        {"add", "a/b", {true, {}}, {}, unsigned_("Failed to add key.")},
        {"get", "a", {true, {}}, {}, invalid},
        {"list", "a/b", {true, {}}, {}, "Error: list does not accept NAMESPACE/KEY. Use tresk list to list all keys.\n"},
        {"add", "a/", {true, {}}, {}, invalid},
        {"add", "a/b", {false, "No fingers."}, {}, "Error: biometryAny unavailable: No fingers.\n"},
        {"add", "a/b", {true, {}}, "Error Domain=X", "Error: Failed to create biometryAny access control: Error Domain=X\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word + " " + c.key.value_or("(none)") + ": " + c.error);
        Fakes f;
        f.keychain.entitled = false;
        f.keychain.statusTexts[status::missingEntitlement] = "Missing.";
        f.keychain.status = status::itemNotFound;  // what a newer system answers such a read
        f.keychain.accessControlProblem = c.accessControlProblem;
        f.localAuthentication.answer = c.preCheck;
        f.console.input = "v";
        EXPECT_EXIT(runCommand(c.word, c.key, f.services), ExitedWithCode(1), Eq(c.error));
    }
}

TEST(GetCommand, WritesTheBytesAndNothingElse) {
    Fakes f;
    const std::string value("\0\xff\n", 3);
    f.keychain.result = PropertyList::data(Bytes::copyOf(value));
    runCommand("get", "ns/a/b", f.services);
    EXPECT_EQ(f.console.output, value);
    EXPECT_EQ(f.console.confirmations, "");
    const KeychainQuery& q = f.keychain.queries.at(0);
    EXPECT_EQ(q.size(), 8u);
    EXPECT_EQ(at<std::string>(q, Attribute::Account), "a/b");
    EXPECT_EQ(at<bool>(q, Attribute::ReturnData), true);
    EXPECT_EQ(at<Constant>(q, Attribute::MatchLimit), Constant::MatchLimitOne);
    const auto& prompt = at<AuthenticationPrompt>(q, Attribute::UseAuthenticationContext);
    EXPECT_EQ(prompt.reason, "Unlock ns/a/b");
    EXPECT_EQ(prompt.touchIDReuseSeconds, 0.0);
    EXPECT_TRUE(f.localAuthentication.asked.empty());  // no pre-check on reads
}

TEST(GetCommandDeathTest, StatusesAndShapes) {
    struct Case {
        OSStatus status;
        PropertyList result;
        std::string error;
    } cases[] = {
        {0, PropertyList(), unexpected},
        {0, PropertyList::text("value"), unexpected},
        {0, PropertyList::array({PropertyList::data(Bytes::copyOf("v"))}), unexpected},
        {-25300, PropertyList::data(Bytes::copyOf("v")), notFound},
        {-128, PropertyList(), "Error: Authentication canceled.\n"},
        {-25293, PropertyList(), detail("Failed to retrieve value.", -25293)},
        {-1, PropertyList(), detail("Failed to retrieve value.", -1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        ScriptedFakes f;
        f.keychain.status = c.status;
        f.keychain.result = c.result;
        EXPECT_EXIT(runCommand("get", "a/b", f.services), ExitedWithCode(1), Eq(c.error));
    }
}

TEST(DeleteCommandDeathTest, Statuses) {
    ScriptedFakes f;
    runCommand("delete", "NS/K", f.services);
    EXPECT_EQ(f.console.confirmations, "Key deleted successfully.\n");
    EXPECT_EQ(f.keychain.queries.at(0), baseQuery("NS", "K"));
    for (auto [status, error] : {std::pair{status::itemNotFound, std::string(notFound)},
                                 std::pair{status::userCanceled, detail("Failed to delete key.", -128)},
                                 std::pair{-25293, detail("Failed to delete key.", -25293)},
                                 std::pair{-25291, detail("Failed to delete key.", -25291)}}) {
        SCOPED_TRACE(status);
        f.keychain.status = status;
        EXPECT_EXIT(runCommand("delete", "a/b", f.services), ExitedWithCode(1), Eq(error));
    }
}

PropertyList item(PropertyList service, PropertyList account) {
    return PropertyList::dictionary({{PropertyList::text(std::string(serviceAttributeName)), std::move(service)},
                                     {PropertyList::text(std::string(accountAttributeName)), std::move(account)},
                                     {PropertyList::text("cdat"), PropertyList::other()}});
}

TEST(ListCommand, SortsAndSkipsItemsWithoutTextNames) {
    using PL = PropertyList;
    Fakes f;
    f.keychain.result = PL::array({
        item(PL::text("ns"), PL::text("a0")),
        item(PL::text("ns"), PL::text("a/b")),
        PL::dictionary({{PL::text(std::string(accountAttributeName)), PL::text("no-service")}}),
        item(PL::data(Bytes::copyOf("ns")), PL::text("data-service")),
        item(PL::text("ns"), PL::other()),
        item(PL::text("Work"), PL::text("a")),
        item(PL::text("ns"), PL::text("a")),
        item(PL::text(""), PL::text("")),
        item(PL::text("ns"), PL::text("a")),
    });
    runCommand("list", std::nullopt, f.services);
    EXPECT_EQ(f.console.output, "/\nWork/a\nns/a\nns/a\nns/a/b\nns/a0\n");
    const KeychainQuery& q = f.keychain.queries.at(0);
    EXPECT_EQ(q.size(), 5u);
    EXPECT_EQ(at<Constant>(q, Attribute::MatchLimit), Constant::MatchLimitAll);
    EXPECT_EQ(at<bool>(q, Attribute::ReturnAttributes), true);
    EXPECT_EQ(q.count(Attribute::ReturnData), 0u);
    EXPECT_EQ(f.keychain.readAttributes, (std::vector<Attribute>{Attribute::Service, Attribute::Account}));
}

TEST(ListCommandDeathTest, StatusesAndShapes) {
    using PL = PropertyList;
    {
        Fakes f;
        f.keychain.status = status::itemNotFound;
        runCommand("list", std::nullopt, f.services);
        EXPECT_EQ(f.console.output, "");
    }
    const std::string listFailed = "Failed to list keys.";
    struct Case {
        OSStatus status;
        PropertyList result;
        std::string error;
    } cases[] = {
        {0, PL(), unexpected},
        {0, item(PL::text("a"), PL::text("b")), unexpected},
        {0, PL::array({item(PL::text("a"), PL::text("b")), PL::text("x")}), unexpected},
        {0, PL::array({item(PL::text("a"), PL::text("b")),
                       PL::dictionary({{PL::other(), PL::text("b")}})}), unexpected},
        {-128, PL(), detail(listFailed, -128)},
        {-25293, PL(), detail(listFailed, -25293)},
        {-50, PL(), detail(listFailed, -50)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        ScriptedFakes f;
        f.keychain.status = c.status;
        f.keychain.result = c.result;
        EXPECT_EXIT(runCommand("list", std::nullopt, f.services), ExitedWithCode(1), Eq(c.error));
    }
    Fakes f;
    f.keychain.forbidden = true;  // the key is refused before any Keychain call
    for (std::string key : {"a/b", ""}) {
        SCOPED_TRACE(key);
        EXPECT_EXIT(runCommand("list", key, f.services), ExitedWithCode(1),
                    Eq("Error: list does not accept NAMESPACE/KEY. Use tresk list to list all keys.\n"));
    }
}

}  // namespace
}  // namespace tresk
