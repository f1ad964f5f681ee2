#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/diagnostics.h"
#include "store/keychain/keychain.h"

namespace tresk {
namespace {

const std::string hint = "; run the signed executable inside its provisioned .app bundle (see BUILD.md)";

TEST(ErrorLine, Shapes) {
    struct Case {
        std::optional<OSStatus> status;
        std::optional<std::string> text;
        std::string line;
    } cases[] = {
        {std::nullopt, std::nullopt, "Error: Failed.\n"},
        {std::nullopt, "ignored", "Error: Failed.\n"},
        {-25293, "Nope.", "Error: Failed. (-25293: Nope.)\n"},
        {12, std::nullopt, "Error: Failed. (12: Unknown error)\n"},
        {0, "No error.", "Error: Failed. (0: No error.)\n"},
        {-2147483647 - 1, std::nullopt, "Error: Failed. (-2147483648: Unknown error)\n"},
        {-34018, "Missing.", "Error: Failed. (-34018: Missing.)" + hint + "\n"},
        {-34018, std::nullopt, "Error: Failed. (-34018: Unknown error)" + hint + "\n"},
        {-34019, std::nullopt, "Error: Failed. (-34019: Unknown error)\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(errorLine("Failed.", c.status, c.text), c.line);
}

TEST(FailDeathTest, WritesOneLineAndExitsWithOne) {
    EXPECT_EXIT(fail("Key not found."), ::testing::ExitedWithCode(1), ::testing::Eq("Error: Key not found.\n"));
    EXPECT_EXIT(fail("Failed to add key.", 424242), ::testing::ExitedWithCode(1),
                ::testing::Eq("Error: Failed to add key. (424242: Unknown error)\n"));
    const std::string platformText = keychainStatusMessage(status::missingEntitlement).value_or("Unknown error");
    EXPECT_EXIT(fail("Failed to list keys.", status::missingEntitlement), ::testing::ExitedWithCode(1),
                ::testing::Eq("Error: Failed to list keys. (-34018: " + platformText + ")" + hint + "\n"));
}

}  // namespace
}  // namespace tresk
