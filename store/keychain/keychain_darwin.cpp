// The Keychain on macOS: each call converts the query into a CFDictionary
// with the Security framework's own keys, makes the one call, and converts
// what comes back.
#include <Security/Security.h>

#include <span>
#include <type_traits>
#include <vector>

#include "common/cf_property_list_darwin.h"
#include "common/cf_ref_darwin.h"
#include "store/keychain/keychain.h"
#include "store/keychain/local_authentication_darwin.h"

namespace tresk {
namespace {

// The program's own names for the framework's numbers must be the framework's.
static_assert(status::success == errSecSuccess);
static_assert(status::diskFull == errSecDiskFull);
static_assert(status::io == errSecIO);
static_assert(status::param == errSecParam);
static_assert(status::allocate == errSecAllocate);
static_assert(status::userCanceled == errSecUserCanceled);
static_assert(status::notAvailable == errSecNotAvailable);
static_assert(status::authFailed == errSecAuthFailed);
static_assert(status::invalidKeychain == errSecInvalidKeychain);
static_assert(status::duplicateItem == errSecDuplicateItem);
static_assert(status::itemNotFound == errSecItemNotFound);
static_assert(status::missingEntitlement == errSecMissingEntitlement);
static_assert(std::is_same_v<OSStatus, ::OSStatus>);
static_assert(accessControlFlag::userPresence == kSecAccessControlUserPresence);
static_assert(accessControlFlag::biometryAny == kSecAccessControlBiometryAny);
static_assert(accessControlFlag::biometryCurrentSet == kSecAccessControlBiometryCurrentSet);

constexpr CFIndex noCapacityLimit = 0;

CFStringRef platformKey(Attribute attribute) {
    switch (attribute) {
        case Attribute::Class: return kSecClass;
        case Attribute::UseDataProtectionKeychain: return kSecUseDataProtectionKeychain;
        case Attribute::Synchronizable: return kSecAttrSynchronizable;
        case Attribute::Service: return kSecAttrService;
        case Attribute::Account: return kSecAttrAccount;
        case Attribute::ValueData: return kSecValueData;
        case Attribute::AccessControl: return kSecAttrAccessControl;
        case Attribute::ReturnData: return kSecReturnData;
        case Attribute::ReturnAttributes: return kSecReturnAttributes;
        case Attribute::MatchLimit: return kSecMatchLimit;
        case Attribute::UseAuthenticationContext: return kSecUseAuthenticationContext;
    }
}

CFStringRef platformConstant(Constant constant) {
    switch (constant) {
        case Constant::ClassGenericPassword: return kSecClassGenericPassword;
        case Constant::MatchLimitOne: return kSecMatchLimitOne;
        case Constant::MatchLimitAll: return kSecMatchLimitAll;
    }
}

class DarwinAccessControl final : public AccessControlObject {
public:
    explicit DarwinAccessControl(CfRef<SecAccessControlRef> control) : control_(std::move(control)) {}
    SecAccessControlRef get() const { return control_.get(); }

private:
    CfRef<SecAccessControlRef> control_;
};

// Puts one query value into the dictionary; false when it has no CF form
// (text that is not UTF-8, an object some other platform made).
class ValueWriter {
public:
    ValueWriter(CFMutableDictionaryRef dictionary, CFStringRef key) : dictionary_(dictionary), key_(key) {}

    bool operator()(const std::string& text) const {
        auto string = cfString(text);
        return string && set(string.get());
    }
    bool operator()(bool flag) const { return set(flag ? kCFBooleanTrue : kCFBooleanFalse); }
    bool operator()(const Bytes& bytes) const {
        // No copy of the value: the query, and so the bytes, outlive the call.
        auto data = CfRef<CFDataRef>::adopt(CFDataCreateWithBytesNoCopy(
            nullptr, bytes.data(), static_cast<CFIndex>(bytes.size()), kCFAllocatorNull));
        return data && set(data.get());
    }
    bool operator()(Constant constant) const { return set(platformConstant(constant)); }
    bool operator()(const std::shared_ptr<const AccessControlObject>& control) const {
        auto darwin = std::dynamic_pointer_cast<const DarwinAccessControl>(control);
        return darwin && set(darwin->get());
    }
    bool operator()(const std::shared_ptr<AuthenticationContext>& context) const {
        return context && set(authenticationContextObject(*context));
    }

private:
    // The dictionary's callbacks take their own reference to the value.
    bool set(CFTypeRef value) const {
        if (!value) return false;
        CFDictionarySetValue(dictionary_, key_, value);
        return true;
    }

    CFMutableDictionaryRef dictionary_;
    CFStringRef key_;
};

// The query as the Security framework takes it; null when some value
// cannot be given to it, and then no call may be made.
CfRef<CFDictionaryRef> platformQuery(const KeychainQuery& query) {
    auto dictionary = CfRef<CFMutableDictionaryRef>::adopt(CFDictionaryCreateMutable(
        nullptr, noCapacityLimit, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    if (!dictionary) return {};
    for (const auto& [attribute, value] : query) {
        if (!std::visit(ValueWriter(dictionary.get(), platformKey(attribute)), value)) return {};
    }
    return CfRef<CFDictionaryRef>::adopt(dictionary.release());
}

class DarwinKeychain final : public Keychain {
public:
    OSStatus add(const KeychainQuery& query) override {
        auto attributes = platformQuery(query);
        if (!attributes) return status::param;
        return SecItemAdd(attributes.get(), nullptr);
    }

    CopyResult copyMatching(const KeychainQuery& query, std::span<const Attribute> readAttributes) override {
        auto platform = platformQuery(query);
        if (!platform) return {status::param, {}};
        CfRef<CFTypeRef> result;
        const OSStatus status = SecItemCopyMatching(platform.get(), result.outPointer());
        std::vector<CFStringRef> keep;
        for (Attribute attribute : readAttributes) keep.push_back(platformKey(attribute));
        return {status, propertyListFromCF(result.get(), keep)};
    }

    OSStatus remove(const KeychainQuery& query) override {
        auto platform = platformQuery(query);
        if (!platform) return status::param;
        return SecItemDelete(platform.get());
    }

    AccessControlResult createAccessControl(std::uint32_t flags) override {
        CfRef<CFErrorRef> error;
        auto control = CfRef<SecAccessControlRef>::adopt(SecAccessControlCreateWithFlags(
            nullptr, kSecAttrAccessibleWhenUnlockedThisDeviceOnly, static_cast<SecAccessControlCreateFlags>(flags),
            error.outPointer()));
        if (control) return std::make_shared<const DarwinAccessControl>(std::move(control));
        if (!error) return std::optional<std::string>();
        return std::optional<std::string>(describe(error.get()));
    }

    std::string attributeName(Attribute attribute) override {
        return utf8Text(platformKey(attribute)).value_or(std::string());
    }

    std::optional<std::string> statusMessage(OSStatus status) override {
        auto message = CfRef<CFStringRef>::adopt(SecCopyErrorMessageString(status, nullptr));
        return utf8Text(message.get());
    }
};

}  // namespace

std::unique_ptr<Keychain> makeSystemKeychain() { return std::make_unique<DarwinKeychain>(); }

}  // namespace tresk
