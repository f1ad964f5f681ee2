// The Keychain seam against the real Keychain: the queries the commands
// make, less what only the data-protection keychain takes, against the
// temporary file-based keychain the macOS workflow makes the default; then
// as the commands make them, which an unsigned build cannot pass (their
// answers are recorded, not asserted); and an access control per policy.
#include <Security/Security.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include "common/cf_property_list_darwin.h"
#include "common/cf_ref_darwin.h"
#include "common/messages.h"
#include "harness/harness.h"
#include "macos/system_answers.h"
#include "store/address.h"
#include "store/keychain/keychain.h"
#include "store/policy.h"

namespace tresk {
namespace {

constexpr std::string_view service = "tresk-macos-tests";

// Why the Keychain rows may not run in this session, or none: they add and
// delete items, so only in the keychain the workflow made for them, never
// in a developer's own.
std::optional<std::string> whyNotTheWorkflowKeychain() {
    const char* named = std::getenv("TRESK_TEST_KEYCHAIN");
    if (!named || !*named) {
        return "TRESK_TEST_KEYCHAIN names no keychain; these rows run only where the macOS workflow "
               "made a temporary keychain the default and named it there";
    }
    // The file-based keychain's own calls, deprecated but the only way to ask.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    SecKeychainRef found = nullptr;
    const OSStatus copied = SecKeychainCopyDefault(&found);
    auto defaultKeychain = CfRef<SecKeychainRef>::adopt(found);
    char path[PATH_MAX] = {};
    UInt32 length = sizeof path - 1;
    if (copied != errSecSuccess || !defaultKeychain ||
        SecKeychainGetPath(defaultKeychain.get(), &length, path) != errSecSuccess) {
        return "no default keychain to compare with TRESK_TEST_KEYCHAIN (" + std::to_string(copied) + ")";
    }
#pragma clang diagnostic pop
    std::error_code ignored;
    const auto wanted = std::filesystem::canonical(named, ignored);
    if (wanted.empty() || wanted != std::filesystem::canonical(path, ignored)) {
        return "the default keychain is " + std::string(path) + ", not TRESK_TEST_KEYCHAIN (" + named + ")";
    }
    return std::nullopt;
}

enum class Call { Add, Read, List, Delete };

struct Step {
    std::string_view what;
    Call call;
    std::string account;                // none for a list
    std::string value;                  // added, or expected back by a read
    std::vector<std::string> listed;    // a list: the accounts of this service, in any order
    std::optional<OSStatus> expected;   // none: the answer is recorded only
    bool dataProtection = false;        // the query exactly as the command makes it
};

// The command's query: add's, get's, list's or delete's.
KeychainQuery commandQuery(const Step& step, Keychain& keychain) {
    KeychainQuery query = step.call == Call::List ? baseQuery(std::nullopt, std::nullopt)
                                                  : baseQuery(std::string(service), step.account);
    switch (step.call) {
        case Call::Add:
            query[Attribute::ValueData] = Bytes::copyOf(step.value);
            if (step.dataProtection) {
                auto control = keychain.createAccessControl(flags(AuthenticationPolicy::biometryAny));
                if (control) query[Attribute::AccessControl] = *control;
            }
            break;
        case Call::Read:
            query[Attribute::ReturnData] = true;
            query[Attribute::MatchLimit] = Constant::MatchLimitOne;
            query[Attribute::UseAuthenticationContext] =
                AuthenticationPrompt{messages::unlockReason(service, step.account), 0};
            break;
        case Call::List:
            query[Attribute::MatchLimit] = Constant::MatchLimitAll;
            query[Attribute::ReturnAttributes] = true;
            break;
        case Call::Delete:
            break;
    }
    // Explicitly false, not left out: without the key a call reaches both
    // keychains (a delete deletes in both).
    if (!step.dataProtection) query[Attribute::UseDataProtectionKeychain] = false;
    return query;
}

std::string shown(const KeychainStatus& answer) {
    std::string text = std::to_string(answer.status);
    if (answer.status != status::success) text += ": " + answer.text.value_or("(no text)");
    return text;
}

std::string_view bytesOf(const PropertyList& result) {
    const Bytes* data = result.asData();
    if (!data) return "(no data)";
    return {reinterpret_cast<const char*>(data->data()), data->size()};
}

// The accounts of this service in a list's result, and whether every
// dictionary held only the two names asked for.
struct Listing {
    std::vector<std::string> accounts;
    bool onlyNames = true;
};

Listing listing(const PropertyList& result) {
    const std::string_view serviceKey = serviceAttributeName, accountKey = accountAttributeName;
    Listing found;
    const auto* items = result.asArray();
    if (!items) return {{}, false};
    for (const auto& item : *items) {
        const auto* entries = item.asDictionary();
        if (!entries) return {{}, false};
        for (const auto& [key, value] : *entries) {
            if (!key.asText() || (*key.asText() != serviceKey && *key.asText() != accountKey)) found.onlyNames = false;
        }
        const PropertyList* itemService = item.find(serviceKey);
        const PropertyList* account = item.find(accountKey);
        if (itemService && itemService->asText() && *itemService->asText() == service && account && account->asText()) {
            found.accounts.push_back(*account->asText());
        }
    }
    std::sort(found.accounts.begin(), found.accounts.end());
    return found;
}

class WorkflowKeychain : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto why = whyNotTheWorkflowKeychain()) GTEST_SKIP() << *why;
        removeThisServicesItems();  // what an interrupted run may have left
    }
    void TearDown() override {
        if (!IsSkipped()) removeThisServicesItems();
    }

    void removeThisServicesItems() {
        KeychainQuery query = baseQuery(std::string(service), std::nullopt);
        query[Attribute::UseDataProtectionKeychain] = false;
        (void)keychain->remove(query);
    }

    std::unique_ptr<Keychain> keychain = makeSystemKeychain();
};

TEST_F(WorkflowKeychain, AnswersTheCommandsQueries) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    const std::string mebibyte = e2e::noise(1 << 20);
    const std::vector<std::string> both = {"every-byte", "mebibyte"};
    const Step steps[] = {
        {"add every byte value", Call::Add, "every-byte", everyByte, {}, status::success},
        {"add 1 MiB", Call::Add, "mebibyte", mebibyte, {}, status::success},
        {"add again", Call::Add, "every-byte", "x", {}, status::duplicateItem},
        {"read, with a prompt", Call::Read, "every-byte", everyByte, {}, status::success},
        {"read 1 MiB, with a prompt", Call::Read, "mebibyte", mebibyte, {}, status::success},
        {"list, names only", Call::List, "", "", both, status::success},
        {"delete", Call::Delete, "every-byte", "", {}, status::success},
        {"delete again", Call::Delete, "every-byte", "", {}, status::itemNotFound},
        {"read a missing item", Call::Read, "every-byte", "", {}, status::itemNotFound},
        {"delete the other", Call::Delete, "mebibyte", "", {}, status::success},
        // As the commands make them: -34018 for an unsigned build, though a
        // read may say -25300 from macOS 26.5 on.
        {"add, Touch ID access control", Call::Add, "data-protection", "x", {}, std::nullopt, true},
        {"read, with a prompt", Call::Read, "data-protection", "", {}, std::nullopt, true},
        {"list", Call::List, "", "", {}, std::nullopt, true},
        {"delete", Call::Delete, "data-protection", "", {}, std::nullopt, true},
    };
    for (const Step& step : steps) {
        const std::string_view table = step.dataProtection ? "Keychain, data protection (unsigned)"
                                                           : "Keychain, file-based (temporary)";
        SCOPED_TRACE(std::string(table) + ": " + std::string(step.what));
        const KeychainQuery query = commandQuery(step, *keychain);
        CopyResult answer;
        switch (step.call) {
            case Call::Add: answer.status = keychain->add(query); break;
            case Call::Delete: answer.status = keychain->remove(query); break;
            case Call::Read: answer = keychain->copyMatching(query, {}); break;
            case Call::List: {
                constexpr Attribute names[] = {Attribute::Service, Attribute::Account};
                answer = keychain->copyMatching(query, names);
                break;
            }
        }
        macos::recordAnswer(table, step.what, shown(answer.status));
        if (!step.expected) continue;

        EXPECT_EQ(answer.status.status, *step.expected) << shown(answer.status);
        if (answer.status.status != status::success) {
            EXPECT_FALSE(answer.status.text.value_or("").empty()) << "no text from the platform";
        } else if (step.call == Call::Read) {
            EXPECT_TRUE(bytesOf(answer.result) == step.value) << "the value read is not the value added";
        } else if (step.call == Call::List) {
            const Listing found = listing(answer.result);
            EXPECT_TRUE(found.onlyNames) << "not an array of dictionaries holding only the names asked for";
            EXPECT_EQ(found.accounts, step.listed);
        }
    }
}

// The names list looks an item's service and account up by are the
// framework's own.
TEST(SystemKeychain, AttributeNamesAreTheFrameworks) {
    EXPECT_EQ(utf8FromCFString(kSecAttrService), std::string(serviceAttributeName));
    EXPECT_EQ(utf8FromCFString(kSecAttrAccount), std::string(accountAttributeName));
}

// The self-check of every command: a test program is unsigned or signed ad
// hoc, so its signature carries no access group, and the commands of such a
// build stop before their item call.
TEST(SystemKeychain, AnUnsignedProgramHasNoAccessGroup) {
    const bool entitled = makeSystemKeychain()->hasAccessGroupEntitlement();
    macos::recordAnswer("Keychain, self-check", "keychain-access-groups in this program's signature",
                        entitled ? "present" : "absent");
    EXPECT_FALSE(entitled);
}

TEST(SystemAccessControl, OneForEachPolicy) {
    auto keychain = makeSystemKeychain();
    for (AuthenticationPolicy policy : allPolicies) {
        SCOPED_TRACE(rawValue(policy));
        auto control = keychain->createAccessControl(flags(policy));
        ASSERT_TRUE(control) << control.problem().text;
        EXPECT_EQ(control->flags, flags(policy));
        ASSERT_NE(control->platformObject, nullptr);
        EXPECT_EQ(CFGetTypeID(control->platformObject.get()), SecAccessControlGetTypeID());
    }
}

}  // namespace
}  // namespace tresk
