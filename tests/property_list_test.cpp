// The platform's property-list reader as the program sees it: the same shape
// from CoreFoundation and from libplist.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "common/property_list.h"

namespace tresk {
namespace {

Expected<PropertyList> parse(const std::string& text) {
    return parsePropertyList(bytesOf(text));
}

// `levels` arrays, one inside the other, around a string.
std::string nested(int levels) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
    for (int i = 0; i < levels; ++i) text += "<array>";
    text += "<string>innermost</string>";
    for (int i = 0; i < levels; ++i) text += "</array>";
    return text + "</plist>\n";
}

// How many arrays were converted, one inside the other, and whether the
// string inside them all was reached.
std::pair<int, bool> convertedDepth(const PropertyList& root) {
    int depth = 0;
    const PropertyList* node = &root;
    while (const auto* items = node->asArray()) {
        ++depth;
        if (items->size() != 1) return {depth, false};
        node = &items->front();
    }
    return {depth, node->asText() && *node->asText() == "innermost"};
}

TEST(PropertyList, NestingIsConvertedUpToItsLimit) {
    static_assert(maxPropertyListDepth == 32, "the table below is written for 32 levels");
    struct Case {
        int levels, converted;
        bool innermostReached;
    } cases[] = {
        {1, 1, true},
        {31, 31, true},
        {32, 32, true},
        {33, 32, false},  // the 33rd array is not looked into
        {200, 32, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levels);
        auto plist = parse(nested(c.levels));
        ASSERT_TRUE(plist);
        EXPECT_EQ(convertedDepth(*plist), std::make_pair(c.converted, c.innermostReached));
    }
}

}  // namespace
}  // namespace tresk
