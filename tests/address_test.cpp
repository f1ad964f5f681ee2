#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "store/address.h"
#include "store/listing_order.h"
#include "store/policy.h"

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
        auto address = parseKey(c.text);
        ASSERT_EQ(address.has_value(), c.parsed) << c.text;
        if (!address) continue;
        EXPECT_EQ(address->service, c.service) << c.text;
        EXPECT_EQ(address->account, c.account) << c.text;
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
    };
    for (auto c : cases) {
        sortListing(c.in);
        EXPECT_EQ(c.in, c.out);
    }
}

}  // namespace
}  // namespace tresk
