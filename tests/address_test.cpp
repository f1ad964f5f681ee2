#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "store/address.h"
#include "store/listing_order.h"
#include "store/policy.h"
#include "text/unicode.h"

namespace tresk {
namespace {

TEST(ParseKey, Splits) {
    struct Case {
        std::string text;
        std::optional<std::string> service, account;
        bool parsed = true;
    } cases[] = {
        {"a/b", "a", "b"},
        {"a/b/c", "a", "b/c"},
        {"a//b", "a", "/b"},
        {"a/", "a", std::nullopt},
        {"/b", {}, {}, false},
        {"/", {}, {}, false},
        {"a", {}, {}, false},
        {"", {}, {}, false},
        {" a / b ", " a ", " b "},
        {"\xC3\xA9t\xC3\xA9/cl\xC3\xA9", "\xC3\xA9t\xC3\xA9", "cl\xC3\xA9"},
        // A slash with a combining mark is another character: the next plain one separates.
        {"a/\xCC\x81x/y", "a/\xCC\x81x", "y"},
        {"a/\xCC\x81", {}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto address = parseKey(c.text);
        ASSERT_EQ(address.has_value(), c.parsed);
        if (!address) continue;
        EXPECT_EQ(address->service, c.service);
        EXPECT_EQ(address->account, c.account);
    }
}

TEST(BaseQuery, HoldsTheCommonEntries) {
    KeychainQuery three = baseQuery(std::nullopt, std::nullopt);
    EXPECT_EQ(three, (KeychainQuery{{Attribute::Class, Constant::ClassGenericPassword},
                                    {Attribute::UseDataProtectionKeychain, true},
                                    {Attribute::Synchronizable, false}}));
    KeychainQuery five = baseQuery("ns", "Key");
    EXPECT_EQ(five.size(), 5u);
    EXPECT_EQ(std::get<std::string>(five.at(Attribute::Service)), "ns");
    EXPECT_EQ(std::get<std::string>(five.at(Attribute::Account)), "Key");
}

TEST(Policy, RawValuesFlagsAndParsing) {
    using P = AuthenticationPolicy;
    EXPECT_EQ(rawValue(P::biometryAny), "biometryAny");
    EXPECT_EQ(rawValue(P::biometryCurrentSet), "biometryCurrentSet");
    EXPECT_EQ(rawValue(P::userPresence), "userPresence");
    EXPECT_EQ(flags(P::biometryAny), 2u);
    EXPECT_EQ(flags(P::biometryCurrentSet), 8u);
    EXPECT_EQ(flags(P::userPresence), 1u);
    EXPECT_TRUE(requiresTouchID(P::biometryAny));
    EXPECT_TRUE(requiresTouchID(P::biometryCurrentSet));
    EXPECT_FALSE(requiresTouchID(P::userPresence));
    for (auto policy : allPolicies) EXPECT_EQ(policyFromRawValue(rawValue(policy)), policy);
    for (const char* text : {"BiometryAny", "biometryany", "", " userPresence", "userPresence ", "user"}) {
        EXPECT_EQ(policyFromRawValue(text), std::nullopt) << text;
    }
}

// Canonically equal names keep the Keychain's order. With a handful of
// entries any sort happens to keep it; forty spellings of one name among
// others do not.
TEST(ListingOrder, EqualSpellingsKeepTheirOrder) {
    const std::vector<std::string> aDots = {"a\xCC\xA3\xCC\x87", "a\xCC\x87\xCC\xA3", "\xE1\xBA\xA1\xCC\x87",
                                            "\xC8\xA7\xCC\xA3"};  // a with a dot below and one above
    const std::vector<std::string> eAcute = {"\xC3\xA9", "e\xCC\x81"};
    const std::vector<std::string> aRing = {"\xC3\x85", "A\xCC\x8A", "\xE2\x84\xAB"};
    const std::vector<std::string> cCedilla = {"\xC3\xA7", "c\xCC\xA7"};
    std::vector<std::string> spellings;
    for (const auto& a : aDots)
        for (const auto& e : eAcute)
            for (const auto& r : aRing)
                for (const auto& c : cCedilla) spellings.push_back("ns/" + a + e + r + c);
    spellings.resize(40);
    std::vector<std::string> entries, others = {"zz/z", "ns/a", "Work/x", "ns/\xC3\xBF", "a/b", "ns/b"};
    for (std::size_t i = 0; i < spellings.size(); ++i) {
        entries.push_back(spellings[spellings.size() - 1 - i]);  // not in byte order
        if (i % 7 == 0) entries.push_back(others[(i / 7) % others.size()]);
    }
    std::vector<std::string> sorted = entries;
    sortListing(sorted);
    std::vector<std::string> equalOnes;
    for (const auto& entry : sorted) {
        if (std::find(spellings.begin(), spellings.end(), entry) != spellings.end()) equalOnes.push_back(entry);
    }
    std::vector<std::string> inputOrder(spellings.rbegin(), spellings.rend());
    EXPECT_EQ(equalOnes, inputOrder);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return text::toNFC(a) < text::toNFC(b);
    }));
}

TEST(ListingOrder, CodePointsAfterNormalisation) {
    const std::string precomposed = "\xC3\xA9/a", decomposed = "e\xCC\x81/a";
    struct Case {
        std::vector<std::string> in, out;
    } cases[] = {
        {{"home/a", "Work/a"}, {"Work/a", "home/a"}},
        {{"ns0/a", "ns/a", "ns-x/a"}, {"ns-x/a", "ns/a", "ns0/a"}},
        {{"ns/a0", "ns/a/b", "ns/a"}, {"ns/a", "ns/a/b", "ns/a0"}},
        {{"\xC3\xA9/a", "z/a"}, {"z/a", "\xC3\xA9/a"}},
        // canonically equivalent: equal, so the Keychain's order stands
        {{decomposed, "f/a", precomposed}, {"f/a", decomposed, precomposed}},
        {{precomposed, decomposed}, {precomposed, decomposed}},
        {{"\xF0\x9F\x94\x91/k", "\xEF\xBD\x81/k"}, {"\xEF\xBD\x81/k", "\xF0\x9F\x94\x91/k"}},
        // Ten names that NFC changes, each short enough to live inside its
        // string: their keys must stay where they were made.
        {{"u\xCC\x88/9", "u\xCC\x88/3", "o\xCC\x88/7", "a\xCC\x8A/1", "e\xCC\x81/5", "u\xCC\x88/0", "a\xCC\x8A/8",
          "o\xCC\x88/2", "e\xCC\x81/6", "a\xCC\x8A/4"},
         {"a\xCC\x8A/1", "a\xCC\x8A/4", "a\xCC\x8A/8", "e\xCC\x81/5", "e\xCC\x81/6", "o\xCC\x88/2", "o\xCC\x88/7",
          "u\xCC\x88/0", "u\xCC\x88/3", "u\xCC\x88/9"}},
    };
    for (auto c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.in));
        sortListing(c.in);
        EXPECT_EQ(c.in, c.out);
    }
}

}  // namespace
}  // namespace tresk
