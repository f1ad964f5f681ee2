// Access policies and the authentication pre-check that add runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "store/keychain/local_authentication.h"

namespace tresk {

enum class AuthenticationPolicy { biometryAny, biometryCurrentSet, userPresence };

inline constexpr AuthenticationPolicy allPolicies[] = {
    AuthenticationPolicy::biometryAny, AuthenticationPolicy::biometryCurrentSet,
    AuthenticationPolicy::userPresence};

std::optional<AuthenticationPolicy> policyFromRawValue(std::string_view text);
std::string_view rawValue(AuthenticationPolicy policy);
// SecAccessControlCreateFlags: one flag per policy, never combined.
std::uint32_t flags(AuthenticationPolicy policy);
bool requiresTouchID(AuthenticationPolicy policy);

// Returns when `policy` can be satisfied on this Mac; otherwise ends the run
// with the reason.
void checkAuthenticationAvailable(AuthenticationPolicy policy, LocalAuthentication& localAuthentication);

}  // namespace tresk
