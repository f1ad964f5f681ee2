// The Keychain on Linux: items in the simulator's SQLite store, released on
// read only as their access control allows.
#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "simulator/access_control.h"
#include "simulator/device.h"
#include "simulator/item_store.h"
#include "simulator/status_texts.h"
#include "store/keychain/keychain.h"

namespace tresk {
namespace {

using namespace simulator;

constexpr const char* genericPasswordClass = "genp";
constexpr const char* whenUnlockedThisDeviceOnly = "aku";  // kSecAttrAccessibleWhenUnlockedThisDeviceOnly

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

// What a read asks for. The program asks for one of two things: one item's
// value (get), or every item's attributes (list).
enum class Read { OneValue, AllAttributes, Unserved };

Read readOf(const KeychainQuery& query) {
    const auto* limit = valueOf<Constant>(query, Attribute::MatchLimit);
    const auto* data = valueOf<bool>(query, Attribute::ReturnData);
    const auto* attributes = valueOf<bool>(query, Attribute::ReturnAttributes);
    const bool wantData = data && *data, wantAttributes = attributes && *attributes;
    const bool all = limit && *limit == Constant::MatchLimitAll;
    if (wantData && !wantAttributes && !all) return Read::OneValue;
    if (wantAttributes && !wantData && all) return Read::AllAttributes;
    return Read::Unserved;
}

// The attributes of a generic password as the Keychain returns them, each
// under its name there; those the program asks for by name carry theirs.
struct AttributeColumn {
    std::string_view name;
    std::optional<Attribute> attribute;
    PropertyList (*value)(const ItemRow& row);
};
const AttributeColumn attributeColumns[] = {
    {"class", Attribute::Class, [](const ItemRow& r) { return PropertyList::text(std::string(r.itemClass)); }},
    {"svce", Attribute::Service, [](const ItemRow& r) { return PropertyList::text(std::string(r.service)); }},
    {"acct", Attribute::Account, [](const ItemRow& r) { return PropertyList::text(std::string(r.account)); }},
    {"sync", Attribute::Synchronizable,
     [](const ItemRow&) { return PropertyList::other(); }},
    {"pdmn", {}, [](const ItemRow& r) { return PropertyList::text(std::string(r.protection)); }},
    {"accc", {},
     [](const ItemRow&) { return PropertyList::other(); }},
    {"agrp", {}, [](const ItemRow&) { return PropertyList::text("SIMULATED.tresk"); }},
    {"cdat", {}, [](const ItemRow&) { return PropertyList::other(); }},
    {"mdat", {}, [](const ItemRow&) { return PropertyList::other(); }},
    {"musr", {}, [](const ItemRow&) { return PropertyList::data(Bytes()); }},
};

// The item's attribute dictionary, or only the entries of `read`: what the
// conversion at the seam would keep of the full one.
PropertyList attributesOf(const ItemRow& row, std::span<const Attribute> read) {
    PropertyList::Dictionary entries;
    entries.reserve(read.empty() ? std::size(attributeColumns) : read.size());
    for (const auto& column : attributeColumns) {
        const bool wanted =
            read.empty() || (column.attribute && std::find(read.begin(), read.end(), *column.attribute) != read.end());
        if (wanted) entries.emplace_back(PropertyList::text(std::string(column.name)), column.value(row));
    }
    return PropertyList::dictionary(std::move(entries));
}

// The simulated Mac, or the status every call of that kind gives while it
// says so.
struct Device {
    KeychainStatus refusal;
    DeviceProfile profile;
};

enum class Call { Read, Write };

Device device(Call call) {
    auto loaded = loadProfile();
    if (!loaded) return {unavailable(loaded.problem()), {}};
    if (loaded->entitlementMissing) {
        const bool empty = call == Call::Read && loaded->unentitledReads == UnentitledReads::NotFound;
        return {withText(empty ? status::itemNotFound : status::missingEntitlement), {}};
    }
    return {{}, *loaded};
}

class SimulatedKeychain final : public Keychain {
public:
    KeychainStatus add(const KeychainQuery& query) override {
        const Device mac = device(Call::Write);
        if (mac.refusal.status != status::success) return mac.refusal;
        ItemMatch match;
        if (!readMatch(query, match)) return withText(status::param);
        NewItem item;
        item.itemClass = match.itemClass;
        item.service = match.service.value_or("");
        item.account = match.account.value_or("");
        item.synchronizable = match.synchronizable;
        if (has(query, Attribute::ValueData)) {
            const auto* data = valueOf<Bytes>(query, Attribute::ValueData);
            if (!data) return withText(status::param);
            item.data = *data;
        }
        item.protection = whenUnlockedThisDeviceOnly;
        if (has(query, Attribute::AccessControl)) {
            const auto* control = valueOf<AccessControl>(query, Attribute::AccessControl);
            if (!control) return withText(status::param);
            item.accessFlags = control->flags;
        }
        item.enrollment = mac.profile.enrollment;
        return store_.insert(item);
    }

    CopyResult copyMatching(const KeychainQuery& query, std::span<const Attribute> readAttributes) override {
        const Device mac = device(Call::Read);
        if (mac.refusal.status != status::success) return {mac.refusal, {}};
        ItemMatch match;
        if (!readMatch(query, match)) return {withText(status::param), {}};
        switch (readOf(query)) {
            case Read::OneValue: return oneValue(query, match, mac.profile);
            case Read::AllAttributes: {
                PropertyList::Array results;
                KeychainStatus listed = store_.forEach(
                    match, [&](const ItemRow& row) { results.push_back(attributesOf(row, readAttributes)); });
                if (listed.status != status::success) return {listed, {}};
                return {{}, PropertyList::array(std::move(results))};
            }
            case Read::Unserved: break;
        }
        return {withText(status::param), {}};
    }

    KeychainStatus remove(const KeychainQuery& query) override {
        const Device mac = device(Call::Write);
        if (mac.refusal.status != status::success) return mac.refusal;
        ItemMatch match;
        if (!readMatch(query, match)) return withText(status::param);
        return store_.remove(match);
    }

    Expected<AccessControl> createAccessControl(std::uint32_t flags) override { return AccessControl{flags, {}}; }

    std::string attributeName(Attribute attribute) override {
        for (const auto& column : attributeColumns) {
            if (column.attribute == attribute) return std::string(column.name);
        }
        return {};
    }

    // A profile that cannot be read says nothing of the signature; the item
    // call then reports what is wrong with it.
    bool hasAccessGroupEntitlement() override {
        auto loaded = loadProfile();
        return !loaded || !loaded->entitlementMissing;
    }

    KeychainStatus describe(OSStatus status) override { return withText(status); }

private:
    // Access is decided on the item's row; its value is read only once granted.
    CopyResult oneValue(const KeychainQuery& query, const ItemMatch& match, const DeviceProfile& mac) {
        const auto* prompt = valueOf<AuthenticationPrompt>(query, Attribute::UseAuthenticationContext);
        if (has(query, Attribute::UseAuthenticationContext) && !prompt) return {withText(status::param), {}};
        Bytes value;
        KeychainStatus found = store_.findFirst(match, [&](const ItemRow& row) {
            KeychainStatus granted = authorise(row, mac, prompt ? prompt->reason : std::string());
            if (granted.status != status::success) return granted;
            return store_.readValue(row.rowid, value);
        });
        if (found.status != status::success) return {found, {}};
        return {{}, PropertyList::data(std::move(value))};
    }

    ItemStore store_;
};

}  // namespace

std::unique_ptr<Keychain> makeSystemKeychain() { return std::make_unique<SimulatedKeychain>(); }

}  // namespace tresk
