// A Keychain query as the program builds it: attribute key to value. Each
// platform converts it at the call (CFDictionary on macOS, SQL in the simulator).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>

#include "common/bytes.h"
#include "store/keychain/keychain_constants.h"

namespace tresk {

enum class Attribute {
    Class,                      // kSecClass
    UseDataProtectionKeychain,  // kSecUseDataProtectionKeychain
    Synchronizable,             // kSecAttrSynchronizable
    Service,                    // kSecAttrService
    Account,                    // kSecAttrAccount
    ValueData,                  // kSecValueData
    AccessControl,              // kSecAttrAccessControl
    ReturnData,                 // kSecReturnData
    ReturnAttributes,           // kSecReturnAttributes
    MatchLimit,                 // kSecMatchLimit
    UseAuthenticationContext,   // kSecUseAuthenticationContext
};

enum class Constant {
    ClassGenericPassword,  // kSecClassGenericPassword
    MatchLimitOne,         // kSecMatchLimitOne
    MatchLimitAll,         // kSecMatchLimitAll
};

// Platform objects the query can carry; each platform derives its own.
class AccessControlObject {
public:
    virtual ~AccessControlObject() = default;
};
class AuthenticationContext;

using QueryValue = std::variant<std::string, bool, Bytes, Constant,
                                std::shared_ptr<const AccessControlObject>,
                                std::shared_ptr<AuthenticationContext>>;

// Setting a key again replaces its value.
using KeychainQuery = std::map<Attribute, QueryValue>;

}  // namespace tresk
