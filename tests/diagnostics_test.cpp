#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/diagnostics.h"
#include "fakes.h"
#include "store/commands.h"

namespace tresk {
namespace {

const std::string hint = "; run the signed executable inside its provisioned .app bundle (see BUILD.md)";

TEST(ErrorLine, Shapes) {
    struct Case {
        std::optional<StatusDetail> detail;
        std::string line;
    } cases[] = {
        {std::nullopt, "Error: Failed.\n"},
        {StatusDetail{-25293, "Nope.", false}, "Error: Failed. (-25293: Nope.)\n"},
        {StatusDetail{12, std::nullopt, false}, "Error: Failed. (12: Unknown error)\n"},
        {StatusDetail{0, "No error.", false}, "Error: Failed. (0: No error.)\n"},
        {StatusDetail{-2147483647 - 1, std::nullopt, false}, "Error: Failed. (-2147483648: Unknown error)\n"},
        {StatusDetail{-34018, "Missing.", true}, "Error: Failed. (-34018: Missing.)" + hint + "\n"},
        {StatusDetail{-34018, std::nullopt, true}, "Error: Failed. (-34018: Unknown error)" + hint + "\n"},
        {StatusDetail{-34019, std::nullopt, false}, "Error: Failed. (-34019: Unknown error)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(errorLine("Failed.", c.detail), c.line);
    }
}

TEST(FailDeathTest, WritesOneLineAndExitsWithOne) {
    EXPECT_EXIT(fail("Key not found."), ::testing::ExitedWithCode(1), ::testing::Eq("Error: Key not found.\n"));
    EXPECT_EXIT(fail("Failed to add key.", StatusDetail{424242, std::nullopt, false}), ::testing::ExitedWithCode(1),
                ::testing::Eq("Error: Failed to add key. (424242: Unknown error)\n"));
}

// Only -34018 earns the signing hint, and the platform's text is the Keychain's.
// The status's own text goes into the line, and the hint only with -34018;
// a status the command names gives its message and nothing of the status.
TEST(SettleDeathTest, TheStatusCarriesItsText) {
    const Command& list = *findCommand("list");
    const Command& get = *findCommand("get");
    EXPECT_EXIT(settle(list, {status::missingEntitlement, "A required entitlement isn't present."}),
                ::testing::ExitedWithCode(1),
                ::testing::Eq("Error: Failed to list keys. (-34018: A required entitlement isn't present.)" + hint +
                              "\n"));
    EXPECT_EXIT(settle(list, {-34017, std::nullopt}), ::testing::ExitedWithCode(1),
                ::testing::Eq("Error: Failed to list keys. (-34017: Unknown error)\n"));
    EXPECT_EXIT(settle(get, {status::userCanceled, "Canceled."}), ::testing::ExitedWithCode(1),
                ::testing::Eq("Error: Authentication canceled.\n"));
}

}  // namespace
}  // namespace tresk
