// The Keychain item calls, as an interface so commands can be run against
// scripted fakes; the system implementation is picked by the build.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "common/property_list.h"
#include "store/keychain/keychain_query.h"

namespace tresk {

struct CopyResult {
    OSStatus status = status::success;
    PropertyList result;  // none unless the call returned something
};

// The access-control object, or the platform's description of why not
// (none when it gave no error object).
using AccessControlResult =
    std::variant<std::shared_ptr<const AccessControlObject>, std::optional<std::string>>;

class Keychain {
public:
    virtual ~Keychain() = default;
    virtual OSStatus add(const KeychainQuery& query) = 0;                 // SecItemAdd
    // SecItemCopyMatching. Of each attribute dictionary it returns, only the
    // entries for `readAttributes` are converted for the caller (with any
    // entry whose key is not text, so the shape can still be judged); all of
    // them when it is empty.
    virtual CopyResult copyMatching(const KeychainQuery& query, std::span<const Attribute> readAttributes) = 0;
    virtual OSStatus remove(const KeychainQuery& query) = 0;              // SecItemDelete
    // SecAccessControlCreateWithFlags with kSecAttrAccessibleWhenUnlockedThisDeviceOnly.
    virtual AccessControlResult createAccessControl(std::uint32_t flags) = 0;
    // The name under which a returned attribute dictionary holds `attribute`.
    virtual std::string attributeName(Attribute attribute) = 0;
    // SecCopyErrorMessageString: the platform's text for a status, if it has one.
    virtual std::optional<std::string> statusMessage(OSStatus status) = 0;
};

std::unique_ptr<Keychain> makeSystemKeychain();

}  // namespace tresk
