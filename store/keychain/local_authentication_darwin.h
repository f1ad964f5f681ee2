// The authentication context a Keychain read carries on macOS, made from the
// query's prompt, in plain C++ terms.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include "common/cf_ref_darwin.h"
#include "store/keychain/keychain_query.h"

namespace tresk {

// A fresh LAContext for one read, with the prompt's reason and Touch ID
// reuse duration, owned as a CF reference for the query's dictionary.
CfRef<CFTypeRef> makeAuthenticationContext(const AuthenticationPrompt& prompt);

// Ends that context, once the read it served has succeeded.
void invalidateAuthenticationContext(CFTypeRef context);

}  // namespace tresk
