#include "store/policy.h"

#include <cstddef>
#include <iterator>

#include "common/diagnostics.h"
#include "common/messages.h"
#include "store/keychain/keychain_constants.h"

namespace tresk {
namespace {

struct PolicyRow {
    AuthenticationPolicy policy;
    std::string_view rawValue;
    std::uint32_t flag;
    bool touchID;
};

// Indexed by the policy's order, which the rows must keep.
constexpr PolicyRow rows[] = {
    {AuthenticationPolicy::biometryAny, "biometryAny", accessControlFlag::biometryAny, true},
    {AuthenticationPolicy::biometryCurrentSet, "biometryCurrentSet", accessControlFlag::biometryCurrentSet, true},
    {AuthenticationPolicy::userPresence, "userPresence", accessControlFlag::userPresence, false},
};

constexpr bool rowsInPolicyOrder() {
    if (std::size(rows) != std::size(allPolicies)) return false;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (rows[i].policy != allPolicies[i] || static_cast<std::size_t>(rows[i].policy) != i) return false;
    }
    return true;
}
static_assert(rowsInPolicyOrder());

const PolicyRow& row(AuthenticationPolicy policy) { return rows[static_cast<std::size_t>(policy)]; }

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
    bool touchID = requiresTouchID(policy);
    auto answer = localAuthentication.evaluate(touchID ? LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics
                                                       : LocalAuthenticationPolicy::DeviceOwnerAuthentication);
    if (!answer.canEvaluate) {
        fail(messages::policyUnavailable(
            rawValue(policy), answer.errorDescription ? std::string_view(*answer.errorDescription)
                                                      : messages::authenticationUnavailable));
    }
    if (touchID && answer.biometry != BiometryType::TouchID) {
        fail(messages::touchIDRequired(rawValue(policy)));
    }
}

}  // namespace tresk
