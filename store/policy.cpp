#include "store/policy.h"

#include "common/diagnostics.h"
#include "common/messages.h"
#include "store/keychain/keychain_constants.h"

namespace tresk {
namespace {

struct PolicyRow {
    std::string_view rawValue;
    std::uint32_t flag;
    bool touchID;
};

constexpr PolicyRow rows[] = {
    {"biometryAny", accessControlFlag::biometryAny, true},
    {"biometryCurrentSet", accessControlFlag::biometryCurrentSet, true},
    {"userPresence", accessControlFlag::userPresence, false},
};

const PolicyRow& row(AuthenticationPolicy policy) { return rows[static_cast<int>(policy)]; }

}  // namespace

std::optional<AuthenticationPolicy> policyFromRawValue(std::string_view text) {
    for (auto policy : allPolicies) {
        if (row(policy).rawValue == text) return policy;
    }
    return std::nullopt;
}

std::string_view rawValue(AuthenticationPolicy policy) { return row(policy).rawValue; }
std::uint32_t flags(AuthenticationPolicy policy) { return row(policy).flag; }
bool requiresTouchID(AuthenticationPolicy policy) { return row(policy).touchID; }

void checkAuthenticationAvailable(AuthenticationPolicy policy, LocalAuthentication& localAuthentication) {
    // This context only answers the question; it never reaches the item.
    auto context = localAuthentication.createContext();
    bool touchID = requiresTouchID(policy);
    auto answer = context->canEvaluatePolicy(
        touchID ? LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics
                : LocalAuthenticationPolicy::DeviceOwnerAuthentication);
    if (!answer.canEvaluate) {
        fail(messages::policyUnavailable(
            rawValue(policy), answer.errorDescription ? std::string_view(*answer.errorDescription)
                                                      : messages::authenticationUnavailable));
    }
    if (touchID && context->biometryType() != BiometryType::TouchID) {
        fail(messages::touchIDRequired(rawValue(policy)));
    }
}

}  // namespace tresk
