// What the Keychain code needs from the macOS authentication contexts, in
// plain C++ terms.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include "store/keychain/local_authentication.h"

namespace tresk {

// The LAContext behind a context from makeSystemLocalAuthentication(),
// borrowed for as long as `context` lives; null for any other context.
CFTypeRef authenticationContextObject(AuthenticationContext& context);

}  // namespace tresk
