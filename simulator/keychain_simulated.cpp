// The Keychain on Linux: items in the simulator's SQLite store, released on
// read only as their access control allows.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>
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

// The attributes of a generic password as the Keychain returns them.
struct AttributeColumn {
    std::string_view name;
    PropertyList (*value)(const ItemRow& row);
};
const AttributeColumn attributeColumns[] = {
    {"class", [](const ItemRow& r) { return PropertyList::text(std::string(r.itemClass)); }},
    {"svce", [](const ItemRow& r) { return PropertyList::text(std::string(r.service)); }},
    {"acct", [](const ItemRow& r) { return PropertyList::text(std::string(r.account)); }},
    {"sync", [](const ItemRow& r) { return PropertyList::integer(r.synchronizable ? 1 : 0); }},
    {"pdmn", [](const ItemRow& r) { return PropertyList::text(std::string(r.protection)); }},
    {"accc", [](const ItemRow& r) { return PropertyList::other("<SecAccessControlRef: " + std::string(r.protection) + ">"); }},
    {"agrp", [](const ItemRow&) { return PropertyList::text("SIMULATED.tresk"); }},
    {"cdat", [](const ItemRow& r) { return PropertyList::date(r.created); }},
    {"mdat", [](const ItemRow& r) { return PropertyList::date(r.modified); }},
    {"musr", [](const ItemRow&) { return PropertyList::data(Bytes()); }},
};

// The item's attribute dictionary, or only the entries the caller reads:
// what the conversion at the seam would keep of the full one.
PropertyList attributesOf(const ItemRow& row, const std::vector<std::string>& read) {
    PropertyList::Dictionary entries;
    entries.reserve(read.empty() ? std::size(attributeColumns) : read.size());
    for (const auto& column : attributeColumns) {
        if (!read.empty() && std::find(read.begin(), read.end(), column.name) == read.end()) continue;
        entries.emplace_back(PropertyList::text(std::string(column.name)), column.value(row));
    }
    return PropertyList::dictionary(std::move(entries));
}

ItemRow rowOf(const StoredItem& item) {
    return {item.itemClass, item.service,    item.account,  item.synchronizable, item.accessFlags,
            item.protection, item.enrollment, item.created, item.modified};
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

    CopyResult copyMatching(const KeychainQuery& query, std::span<const Attribute> readAttributes) override {
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
        std::vector<std::string> read;
        for (Attribute attribute : readAttributes) read.push_back(attributeName(attribute));

        if (all) {
            PropertyList::Array results;
            OSStatus status = fromStore(store_.forEach(match, [&](const ItemRow& row) {
                if (wantAttributes) results.push_back(attributesOf(row, read));
            }));
            if (status) return {status, {}};
            if (!wantAttributes) return {status::success, {}};
            return {status::success, PropertyList::array(std::move(results))};
        }

        StoredItem item;
        if (OSStatus status = fromStore(store_.findFirst(match, wantData, item))) return {status, {}};
        if (wantData) {
            auto reason = promptReason(query);
            if (!reason) return {status::authFailed, {}};
            std::string problem;
            if (OSStatus status = authorise(item, std::get<DeviceProfile>(profile), *reason, problem)) {
                if (!problem.empty()) problem_ = problem;
                return {status, {}};
            }
        }
        if (!wantAttributes) {
            return {status::success, wantData ? PropertyList::data(std::move(item.data)) : PropertyList()};
        }
        PropertyList attributes = attributesOf(rowOf(item), read);
        if (wantData) {
            PropertyList::Dictionary entries = *attributes.asDictionary();
            entries.emplace_back(PropertyList::text("v_Data"), PropertyList::data(std::move(item.data)));
            attributes = PropertyList::dictionary(std::move(entries));
        }
        return {status::success, std::move(attributes)};
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
