// The Keychain item calls, as an interface so commands can be run against
// scripted fakes; the system implementation is picked by the build.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "common/problem.h"
#include "common/property_list.h"
#include "store/keychain/keychain_query.h"

namespace tresk {

// What an item call answers: the platform's status and, for any other than
// success, the platform's text for it (none when it has none). The text is
// taken when the call returns, so it is always the text of this status.
struct KeychainStatus {
    OSStatus status = status::success;
    std::optional<std::string> text;
};

struct CopyResult {
    KeychainStatus status;
    PropertyList result;  // none unless the call returned something
};

class Keychain {
public:
    virtual ~Keychain() = default;
    virtual KeychainStatus add(const KeychainQuery& query) = 0;  // SecItemAdd
    // SecItemCopyMatching. Of each attribute dictionary it returns, only the
    // entries for `readAttributes` are converted for the caller (with any
    // entry whose key is not text, so the shape can still be judged); all of
    // them when it is empty.
    virtual CopyResult copyMatching(const KeychainQuery& query, std::span<const Attribute> readAttributes) = 0;
    virtual KeychainStatus remove(const KeychainQuery& query) = 0;  // SecItemDelete
    // SecAccessControlCreateWithFlags with kSecAttrAccessibleWhenUnlockedThisDeviceOnly;
    // the problem is the platform's description of its error object, or
    // "Unknown error" when it gave none.
    virtual Expected<AccessControl> createAccessControl(std::uint32_t flags) = 0;
    // Whether this process's own signature carries keychain-access-groups.
    // Without it the data-protection keychain refuses every item call with
    // -34018, except that since macOS 26.5 it answers reads as if nothing
    // were stored, so the status alone cannot tell an unsigned build.
    virtual bool hasAccessGroupEntitlement() = 0;
    // The status with the platform's text for it, as an item call gives it.
    virtual KeychainStatus describe(OSStatus status) = 0;
};

std::unique_ptr<Keychain> makeSystemKeychain();

}  // namespace tresk
