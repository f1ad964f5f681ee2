// The pre-check of add against the system's LocalAuthentication: for each
// policy, the line the pre-check ends the run with is the one the system's
// own answer calls for, with the system's reason in it (a hosted runner has
// no Touch ID); the reasons are recorded.
#import <LocalAuthentication/LocalAuthentication.h>

#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "macos/system_answers.h"
#include "store/keychain/local_authentication.h"
#include "store/policy.h"

namespace tresk {
namespace {

using ::testing::Eq;
using ::testing::ExitedWithCode;

TEST(SystemLocalAuthentication, PreCheckOfEachPolicy) {
    const struct {
        AuthenticationPolicy policy;
        LAPolicy asked;
    } rows[] = {
        {AuthenticationPolicy::biometryAny, LAPolicyDeviceOwnerAuthenticationWithBiometrics},
        {AuthenticationPolicy::biometryCurrentSet, LAPolicyDeviceOwnerAuthenticationWithBiometrics},
        {AuthenticationPolicy::userPresence, LAPolicyDeviceOwnerAuthentication},
    };
    for (const auto& row : rows) {
        const std::string policy(rawValue(row.policy));
        SCOPED_TRACE(policy);
        // The system asked directly, with a context of its own.
        LAContext* context = [[LAContext alloc] init];
        NSError* error = nil;
        const bool can = [context canEvaluatePolicy:row.asked error:&error];
        std::optional<std::string> line;  // none: the pre-check lets add go on
        if (!can) {
            const std::string reason = error ? error.localizedDescription.UTF8String : "Authentication unavailable";
            line = "Error: " + policy + " unavailable: " + reason + "\n";
        } else if (row.asked == LAPolicyDeviceOwnerAuthenticationWithBiometrics &&
                   context.biometryType != LABiometryTypeTouchID) {
            line = "Error: Touch ID must be available and enrolled for " + policy + ".\n";
        }
        macos::recordAnswer("LocalAuthentication pre-check", policy, line ? line->substr(0, line->size() - 1) : "passes");

        auto localAuthentication = makeSystemLocalAuthentication();
        if (line) {
            EXPECT_EXIT(checkAuthenticationAvailable(row.policy, *localAuthentication), ExitedWithCode(1), Eq(*line));
        } else {
            checkAuthenticationAvailable(row.policy, *localAuthentication);  // returns
        }
    }
}

}  // namespace
}  // namespace tresk
