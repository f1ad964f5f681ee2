// The Keychain on Linux: items in the simulator's SQLite store, released on
// read only as their access control allows.
#include <map>

#include "simulator/device.h"
#include "simulator/item_store.h"
#include "simulator/simulated_context.h"
#include "store/keychain/keychain.h"

namespace tresk {
namespace {

using namespace simulator;

constexpr const char* genericPasswordClass = "genp";
constexpr const char* whenUnlockedThisDeviceOnly = "akpu";
constexpr std::uint32_t userPresenceFlag = 1, biometryAnyFlag = 2, biometryCurrentSetFlag = 8;

class SimulatedAccessControl final : public AccessControlObject {
public:
    explicit SimulatedAccessControl(std::uint32_t flags) : flags(flags) {}
    const std::uint32_t flags;
};

template <typename T>
const T* valueOf(const KeychainQuery& query, Attribute key) {
    auto it = query.find(key);
    return it == query.end() ? nullptr : std::get_if<T>(&it->second);
}

bool has(const KeychainQuery& query, Attribute key) { return query.count(key) != 0; }

// The attributes every call shares; false when the query is not one this
// Keychain serves (only the data-protection keychain's generic passwords).
bool readMatch(const KeychainQuery& query, ItemMatch& match) {
    const auto* itemClass = valueOf<Constant>(query, Attribute::Class);
    const auto* dataProtection = valueOf<bool>(query, Attribute::UseDataProtectionKeychain);
    if (!itemClass || *itemClass != Constant::ClassGenericPassword || !dataProtection || !*dataProtection) return false;
    match.itemClass = genericPasswordClass;
    if (has(query, Attribute::Synchronizable)) {
        const auto* sync = valueOf<bool>(query, Attribute::Synchronizable);
        if (!sync) return false;
        match.synchronizable = *sync;
    }
    for (auto [key, slot] : {std::pair{Attribute::Service, &match.service}, std::pair{Attribute::Account, &match.account}}) {
        if (!has(query, key)) continue;
        const auto* text = valueOf<std::string>(query, key);
        if (!text) return false;
        *slot = *text;
    }
    return true;
}

// The profile, or the status every call gives while the device says so.
std::variant<DeviceProfile, OSStatus> device() {
    auto loaded = loadProfile();
    if (!std::holds_alternative<DeviceProfile>(loaded)) return errSecNotAvailable;
    const auto& profile = std::get<DeviceProfile>(loaded);
    if (profile.entitlementMissing) return errSecMissingEntitlement;
    return profile;
}

// Whether the user may have this item's value now; prompts when the item asks for it.
OSStatus authorise(const StoredItem& item, const DeviceProfile& device, const KeychainQuery& query) {
    if (item.accessFlags == 0) return errSecSuccess;
    std::string reason;
    if (const auto* context = valueOf<std::shared_ptr<AuthenticationContext>>(query, Attribute::UseAuthenticationContext)) {
        auto simulated = std::dynamic_pointer_cast<SimulatedContext>(*context);
        if (!simulated || simulated->invalidated()) return errSecAuthFailed;
        reason = simulated->reason();
    }
    const bool biometryReady = device.biometry != Biometry::None && device.enrolled;
    PromptKind kind;
    if (item.accessFlags & (biometryAnyFlag | biometryCurrentSetFlag)) {
        // A biometric item cannot be released without the biometry it was bound to.
        if (!biometryReady) return errSecAuthFailed;
        if ((item.accessFlags & biometryCurrentSetFlag) && item.enrollment != device.enrollment) return errSecAuthFailed;
        kind = PromptKind::TouchID;
    } else if (item.accessFlags & userPresenceFlag) {
        if (biometryReady) kind = PromptKind::TouchIDOrPassword;
        else if (device.loginPassword) kind = PromptKind::Password;
        else return errSecAuthFailed;
    } else {
        return errSecSuccess;
    }
    return prompt(device, kind, reason) == Answer::Approve ? errSecSuccess : errSecUserCanceled;
}

PropertyList attributesOf(const StoredItem& item) {
    return PropertyList::dictionary({
        {PropertyList::text("class"), PropertyList::text(item.itemClass)},
        {PropertyList::text("svce"), PropertyList::text(item.service)},
        {PropertyList::text("acct"), PropertyList::text(item.account)},
        {PropertyList::text("sync"), PropertyList::integer(item.synchronizable ? 1 : 0)},
        {PropertyList::text("pdmn"), PropertyList::text(item.protection)},
        {PropertyList::text("accc"), PropertyList::other("<SecAccessControlRef: " + item.protection + ">")},
        {PropertyList::text("agrp"), PropertyList::text("SIMULATED.tresk")},
        {PropertyList::text("cdat"), PropertyList::date(item.created)},
        {PropertyList::text("mdat"), PropertyList::date(item.modified)},
        {PropertyList::text("musr"), PropertyList::data(Bytes())},
    });
}

class SimulatedKeychain final : public Keychain {
public:
    OSStatus add(const KeychainQuery& query) override {
        auto profile = device();
        if (auto* status = std::get_if<OSStatus>(&profile)) return *status;
        ItemMatch match;
        if (!readMatch(query, match)) return errSecParam;
        StoredItem item;
        item.itemClass = match.itemClass;
        item.service = match.service.value_or("");
        item.account = match.account.value_or("");
        item.synchronizable = match.synchronizable;
        if (has(query, Attribute::ValueData)) {
            const auto* data = valueOf<Bytes>(query, Attribute::ValueData);
            if (!data) return errSecParam;
            item.data = *data;
        }
        item.protection = whenUnlockedThisDeviceOnly;
        if (has(query, Attribute::AccessControl)) {
            const auto* control = valueOf<std::shared_ptr<const AccessControlObject>>(query, Attribute::AccessControl);
            auto simulated = control ? std::dynamic_pointer_cast<const SimulatedAccessControl>(*control) : nullptr;
            if (!simulated) return errSecParam;
            item.accessFlags = simulated->flags;
        }
        item.enrollment = std::get<DeviceProfile>(profile).enrollment;
        return store_.insert(item);
    }

    CopyResult copyMatching(const KeychainQuery& query) override {
        auto profile = device();
        if (auto* status = std::get_if<OSStatus>(&profile)) return {*status, {}};
        ItemMatch match;
        if (!readMatch(query, match)) return {errSecParam, {}};
        const auto* limit = valueOf<Constant>(query, Attribute::MatchLimit);
        const bool all = limit && *limit == Constant::MatchLimitAll;
        const auto* returnData = valueOf<bool>(query, Attribute::ReturnData);
        const auto* returnAttributes = valueOf<bool>(query, Attribute::ReturnAttributes);
        const bool wantData = returnData && *returnData, wantAttributes = returnAttributes && *returnAttributes;
        if (wantData && all) return {errSecParam, {}};  // values come one at a time

        std::vector<StoredItem> items;
        if (OSStatus status = store_.find(match, !all, wantData, items)) return {status, {}};
        if (wantData) {
            if (OSStatus status = authorise(items.front(), std::get<DeviceProfile>(profile), query)) return {status, {}};
        }
        PropertyList::Array results;
        for (auto& item : items) {
            if (wantAttributes) {
                PropertyList attributes = attributesOf(item);
                if (wantData) {
                    auto entries = *attributes.asDictionary();
                    entries.emplace_back(PropertyList::text("v_Data"), PropertyList::data(item.data));
                    attributes = PropertyList::dictionary(std::move(entries));
                }
                results.push_back(std::move(attributes));
            } else if (wantData) {
                results.push_back(PropertyList::data(item.data));
            }
        }
        if (!wantData && !wantAttributes) return {errSecSuccess, {}};
        if (all) return {errSecSuccess, PropertyList::array(std::move(results))};
        return {errSecSuccess, std::move(results.front())};
    }

    OSStatus remove(const KeychainQuery& query) override {
        auto profile = device();
        if (auto* status = std::get_if<OSStatus>(&profile)) return *status;
        ItemMatch match;
        if (!readMatch(query, match)) return errSecParam;
        return store_.remove(match);
    }

    AccessControlResult createAccessControl(std::uint32_t flags) override {
        return std::make_shared<const SimulatedAccessControl>(flags);
    }

    std::string attributeName(Attribute attribute) override {
        return attribute == Attribute::Service ? "svce" : attribute == Attribute::Account ? "acct" : "";
    }

private:
    ItemStore store_;
};

}  // namespace

std::unique_ptr<Keychain> makeSystemKeychain() { return std::make_unique<SimulatedKeychain>(); }

std::optional<std::string> keychainStatusMessage(OSStatus status) {
    static const std::map<OSStatus, std::string> texts = {
        {errSecSuccess, "No error."},
        {errSecDskFull, "The disk holding the keychain is full."},
        {errSecIO, "The keychain database could not be read or written."},
        {errSecParam, "The keychain was asked something it does not understand."},
        {errSecUserCanceled, "The user canceled the operation."},
        {errSecNotAvailable, "The keychain is not available."},
        {errSecAuthFailed, "The item's access control could not be satisfied."},
        {errSecInvalidKeychain, "The keychain database is damaged or is not a keychain."},
        {errSecDuplicateItem, "The item already exists in the keychain."},
        {errSecItemNotFound, "The item could not be found in the keychain."},
        {errSecMissingEntitlement, "A required entitlement is missing."},
    };
    auto it = texts.find(status);
    if (it == texts.end()) return std::nullopt;
    return it->second;
}

}  // namespace tresk
