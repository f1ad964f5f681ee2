// The Keychain on Linux: items in the simulator's SQLite store, released on
// read only as their access control allows.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "simulator/access_control.h"
#include "simulator/device.h"
#include "simulator/item_store.h"
#include "simulator/simulated_context.h"
#include "store/keychain/keychain.h"

namespace tresk {
namespace {

using namespace simulator;

constexpr const char* genericPasswordClass = "genp";
constexpr const char* whenUnlockedThisDeviceOnly = "aku";  // kSecAttrAccessibleWhenUnlockedThisDeviceOnly

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

// The reason the read's authentication context gives its prompt; none when
// the read carries a context that can no longer authenticate.
std::optional<std::string> promptReason(const KeychainQuery& query) {
    const auto* context = valueOf<std::shared_ptr<AuthenticationContext>>(query, Attribute::UseAuthenticationContext);
    if (!context) return std::string();
    auto simulated = std::dynamic_pointer_cast<SimulatedContext>(*context);
    if (!simulated || simulated->invalidated()) return std::nullopt;
    return simulated->reason();
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
    // The profile, or the status every call gives while the device says so.
    std::variant<DeviceProfile, OSStatus> device() {
        auto loaded = loadProfile();
        if (auto* problem = std::get_if<std::string>(&loaded)) return refuse(*problem);
        const auto& profile = std::get<DeviceProfile>(loaded);
        if (profile.entitlementMissing) return status::missingEntitlement;
        return profile;
    }

    OSStatus add(const KeychainQuery& query) override {
        auto profile = device();
        if (auto* status = std::get_if<OSStatus>(&profile)) return *status;
        ItemMatch match;
        if (!readMatch(query, match)) return status::param;
        StoredItem item;
        item.itemClass = match.itemClass;
        item.service = match.service.value_or("");
        item.account = match.account.value_or("");
        item.synchronizable = match.synchronizable;
        if (has(query, Attribute::ValueData)) {
            const auto* data = valueOf<Bytes>(query, Attribute::ValueData);
            if (!data) return status::param;
            item.data = *data;
        }
        item.protection = whenUnlockedThisDeviceOnly;
        if (has(query, Attribute::AccessControl)) {
            const auto* control = valueOf<std::shared_ptr<const AccessControlObject>>(query, Attribute::AccessControl);
            auto simulated = control ? std::dynamic_pointer_cast<const SimulatedAccessControl>(*control) : nullptr;
            if (!simulated) return status::param;
            item.accessFlags = simulated->flags;
        }
        item.enrollment = std::get<DeviceProfile>(profile).enrollment;
        return fromStore(store_.insert(item));
    }

    CopyResult copyMatching(const KeychainQuery& query) override {
        auto profile = device();
        if (auto* status = std::get_if<OSStatus>(&profile)) return {*status, {}};
        ItemMatch match;
        if (!readMatch(query, match)) return {status::param, {}};
        const auto* limit = valueOf<Constant>(query, Attribute::MatchLimit);
        const bool all = limit && *limit == Constant::MatchLimitAll;
        const auto* returnData = valueOf<bool>(query, Attribute::ReturnData);
        const auto* returnAttributes = valueOf<bool>(query, Attribute::ReturnAttributes);
        const bool wantData = returnData && *returnData, wantAttributes = returnAttributes && *returnAttributes;
        if (wantData && all) return {status::param, {}};  // values come one at a time

        std::vector<StoredItem> items;
        if (OSStatus status = fromStore(store_.find(match, !all, wantData, items))) return {status, {}};
        if (wantData) {
            auto reason = promptReason(query);
            if (!reason) return {status::authFailed, {}};
            std::string problem;
            if (OSStatus status = authorise(items.front(), std::get<DeviceProfile>(profile), *reason, problem)) {
                if (!problem.empty()) problem_ = problem;
                return {status, {}};
            }
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
        if (!wantData && !wantAttributes) return {status::success, {}};
        if (all) return {status::success, PropertyList::array(std::move(results))};
        return {status::success, std::move(results.front())};
    }

    OSStatus remove(const KeychainQuery& query) override {
        auto profile = device();
        if (auto* status = std::get_if<OSStatus>(&profile)) return *status;
        ItemMatch match;
        if (!readMatch(query, match)) return status::param;
        return fromStore(store_.remove(match));
    }

    AccessControlResult createAccessControl(std::uint32_t flags) override {
        return std::make_shared<const SimulatedAccessControl>(flags);
    }

    std::string attributeName(Attribute attribute) override {
        return attribute == Attribute::Service ? "svce" : attribute == Attribute::Account ? "acct" : "";
    }

    // The simulator's own texts; for notAvailable, with what made it so.
    std::optional<std::string> statusMessage(OSStatus status) override {
        if (status == status::notAvailable && !problem_.empty()) {
            return "The keychain is not available: " + problem_ + ".";
        }
        static const std::map<OSStatus, std::string> texts = {
            {status::success, "No error."},
            {status::diskFull, "The disk holding the keychain is full."},
            {status::io, "The keychain database could not be read or written."},
            {status::param, "The keychain was asked something it does not understand."},
            {status::allocate, "There was not enough memory for the keychain."},
            {status::userCanceled, "The user canceled the operation."},
            {status::notAvailable, "The keychain is not available."},
            {status::authFailed, "The item's access control could not be satisfied."},
            {status::invalidKeychain, "The keychain database is damaged or is not a keychain."},
            {status::duplicateItem, "The item already exists in the keychain."},
            {status::itemNotFound, "The item could not be found in the keychain."},
            {status::missingEntitlement, "A required entitlement is missing."},
        };
        auto it = texts.find(status);
        if (it == texts.end()) return std::nullopt;
        return it->second;
    }

private:
    OSStatus refuse(const std::string& problem) {
        problem_ = problem;
        return status::notAvailable;
    }
    OSStatus fromStore(OSStatus status) {
        if (status == status::notAvailable && !store_.problem().empty()) problem_ = store_.problem();
        return status;
    }

    ItemStore store_;
    std::string problem_;  // why the last call gave notAvailable
};

}  // namespace

std::unique_ptr<Keychain> makeSystemKeychain() { return std::make_unique<SimulatedKeychain>(); }

}  // namespace tresk
