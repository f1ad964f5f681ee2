// The Keychain on macOS: each call converts the query into a CFDictionary
// with the Security framework's own keys, makes the one call, and converts
// what comes back.
#include <Security/Security.h>

#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "common/cf_property_list_darwin.h"
#include "common/cf_ref_darwin.h"
#include "common/messages.h"
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

// The query as the Security framework takes it, and the authentication
// context made for it, which must outlive the call.
struct PlatformQuery {
    CfRef<CFMutableDictionaryRef> dictionary;
    CfRef<CFTypeRef> authenticationContext;
};

// Puts one query value into the dictionary; false when it has no CF form
// (text that is not UTF-8, an access control the Security framework did not
// make).
class ValueWriter {
public:
    ValueWriter(PlatformQuery& query, CFStringRef key) : query_(query), key_(key) {}

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
    bool operator()(const AccessControl& control) const {
        // Made by createAccessControl below; its type is checked, not assumed.
        CFTypeRef object = control.platformObject.get();
        return object && CFGetTypeID(object) == SecAccessControlGetTypeID() && set(object);
    }
    bool operator()(const AuthenticationPrompt& prompt) const {
        query_.authenticationContext = makeAuthenticationContext(prompt);
        return set(query_.authenticationContext.get());
    }

private:
    // The dictionary's callbacks take their own reference to the value.
    bool set(CFTypeRef value) const {
        if (!value) return false;
        CFDictionarySetValue(query_.dictionary.get(), key_, value);
        return true;
    }

    PlatformQuery& query_;
    CFStringRef key_;
};

// The query as the Security framework takes it; no dictionary when some
// value cannot be given to it, and then no call may be made.
PlatformQuery platformQuery(const KeychainQuery& query) {
    PlatformQuery platform;
    platform.dictionary = CfRef<CFMutableDictionaryRef>::adopt(CFDictionaryCreateMutable(
        nullptr, noCapacityLimit, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    if (!platform.dictionary) return platform;
    for (const auto& [attribute, value] : query) {
        if (!std::visit(ValueWriter(platform, platformKey(attribute)), value)) {
            platform.dictionary.reset();
            break;
        }
    }
    return platform;
}

// The status with the Security framework's text for it, taken at once.
KeychainStatus withPlatformText(OSStatus status) {
    if (status == errSecSuccess) return {};
    auto message = CfRef<CFStringRef>::adopt(SecCopyErrorMessageString(status, nullptr));
    return {status, utf8FromCFString(message.get())};
}

class DarwinKeychain final : public Keychain {
public:
    KeychainStatus add(const KeychainQuery& query) override {
        PlatformQuery platform = platformQuery(query);
        if (!platform.dictionary) return withPlatformText(errSecParam);
        return withPlatformText(SecItemAdd(platform.dictionary.get(), nullptr));
    }

    CopyResult copyMatching(const KeychainQuery& query, std::span<const Attribute> readAttributes) override {
        PlatformQuery platform = platformQuery(query);
        if (!platform.dictionary) return {withPlatformText(errSecParam), {}};
        CfRef<CFTypeRef> result;
        const OSStatus status = SecItemCopyMatching(platform.dictionary.get(), result.outPointer());
        // The context served this read only; once it has succeeded it ends.
        if (status == errSecSuccess && platform.authenticationContext) {
            invalidateAuthenticationContext(platform.authenticationContext.get());
        }
        std::vector<CFStringRef> keep;
        for (Attribute attribute : readAttributes) keep.push_back(platformKey(attribute));
        return {withPlatformText(status), propertyListFromCF(result.get(), keep)};
    }

    KeychainStatus remove(const KeychainQuery& query) override {
        PlatformQuery platform = platformQuery(query);
        if (!platform.dictionary) return withPlatformText(errSecParam);
        return withPlatformText(SecItemDelete(platform.dictionary.get()));
    }

    Expected<AccessControl> createAccessControl(std::uint32_t flags) override {
        CfRef<CFErrorRef> error;
        auto control = CfRef<SecAccessControlRef>::adopt(SecAccessControlCreateWithFlags(
            nullptr, kSecAttrAccessibleWhenUnlockedThisDeviceOnly, static_cast<SecAccessControlCreateFlags>(flags),
            error.outPointer()));
        if (!control) return Problem{error ? cfDescription(error.get()) : std::string(messages::unknownError)};
        // Held for the query; released with the last copy of the value.
        std::shared_ptr<const void> object(control.release(), [](const void* ref) { CFRelease(ref); });
        return AccessControl{flags, std::move(object)};
    }

    bool hasAccessGroupEntitlement() override {
        auto task = CfRef<SecTaskRef>::adopt(SecTaskCreateFromSelf(nullptr));
        if (!task) return false;  // unknown is not entitled: the line says what to check
        auto groups = CfRef<CFTypeRef>::adopt(
            SecTaskCopyValueForEntitlement(task.get(), CFSTR("keychain-access-groups"), nullptr));
        // An array of group names; the items fall into its first one, so that
        // one must be a name.
        if (!groups || CFGetTypeID(groups.get()) != CFArrayGetTypeID()) return false;
        const auto names = static_cast<CFArrayRef>(groups.get());
        return CFArrayGetCount(names) > 0 && CFGetTypeID(CFArrayGetValueAtIndex(names, 0)) == CFStringGetTypeID();
    }

    KeychainStatus describe(OSStatus status) override { return withPlatformText(status); }
};

}  // namespace

std::unique_ptr<Keychain> makeSystemKeychain() { return std::make_unique<DarwinKeychain>(); }

}  // namespace tresk
