// The Keychain on Linux: items in the simulator's SQLite store, released on
// read only as their access control allows.
#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "simulator/access_control.h"
#include "simulator/device.h"
#include "simulator/item_store.h"
#include "simulator/status_texts.h"
#include "store/keychain/keychain.h"

namespace tresk {
namespace {

using namespace simulator;

constexpr const char* genericPasswordClass = "genp";

template <typename T>
const T* valueOf(const KeychainQuery& query, Attribute key) {
    auto it = query.find(key);
    return it == query.end() ? nullptr : std::get_if<T>(&it->second);
}

// Whether the query holds `key` with a value of another type: a query this
// Keychain does not serve.
template <typename T>
bool mistyped(const KeychainQuery& query, Attribute key) {
    return query.count(key) != 0 && !valueOf<T>(query, key);
}

// The attributes a listing returns, each under its name in the Keychain: the
// two the program reads. (The Keychain returns more, which nothing here reads.)
constexpr std::pair<Attribute, std::string_view> listedAttributes[] = {{Attribute::Service, serviceAttributeName},
                                                                       {Attribute::Account, accountAttributeName}};

// The item's attributes, or only the entries of `read`: what the conversion
// at the seam would keep of them.
PropertyList attributesOf(const ItemRow& row, std::span<const Attribute> read) {
    PropertyList::Dictionary entries;
    for (const auto& [attribute, name] : listedAttributes) {
        if (!read.empty() && std::find(read.begin(), read.end(), attribute) == read.end()) continue;
        const std::string_view value = attribute == Attribute::Service ? row.service : row.account;
        entries.emplace_back(PropertyList::text(std::string(name)), PropertyList::text(std::string(value)));
    }
    return PropertyList::dictionary(std::move(entries));
}

// What every item call starts from: the simulated Mac and the items the
// query means; or what the call answers instead: the Mac's refusal, or
// errSecParam for a query this Keychain does not serve (it serves only the
// data-protection keychain's generic passwords).
struct Call {
    KeychainStatus refusal;
    DeviceProfile mac;
    ItemMatch match;
};

Call begin(const KeychainQuery& query, bool reads) {
    auto loaded = loadProfile();
    if (!loaded) return {unavailable(loaded.problem()), {}, {}};
    if (loaded->entitlementMissing) {
        const bool empty = reads && loaded->unentitledReads == UnentitledReads::NotFound;
        return {withText(empty ? status::itemNotFound : status::missingEntitlement), {}, {}};
    }
    const auto* itemClass = valueOf<Constant>(query, Attribute::Class);
    const auto* dataProtection = valueOf<bool>(query, Attribute::UseDataProtectionKeychain);
    if (!itemClass || *itemClass != Constant::ClassGenericPassword || !dataProtection || !*dataProtection ||
        mistyped<bool>(query, Attribute::Synchronizable) || mistyped<std::string>(query, Attribute::Service) ||
        mistyped<std::string>(query, Attribute::Account)) {
        return {withText(status::param), {}, {}};
    }
    auto text = [&](Attribute key) {
        const auto* value = valueOf<std::string>(query, key);
        return value ? std::optional<std::string>(*value) : std::nullopt;
    };
    const auto* sync = valueOf<bool>(query, Attribute::Synchronizable);
    return {{}, *loaded, {genericPasswordClass, text(Attribute::Service), text(Attribute::Account), sync && *sync}};
}

class SimulatedKeychain final : public Keychain {
public:
    KeychainStatus add(const KeychainQuery& query) override {
        const Call call = begin(query, /*reads=*/false);
        if (failed(call.refusal)) return call.refusal;
        const auto* data = valueOf<Bytes>(query, Attribute::ValueData);
        const auto* control = valueOf<AccessControl>(query, Attribute::AccessControl);
        if (mistyped<Bytes>(query, Attribute::ValueData) || mistyped<AccessControl>(query, Attribute::AccessControl)) {
            return withText(status::param);
        }
        return store_.insert(call.match, data ? *data : Bytes(), control ? control->flags : 0, call.mac.enrollment);
    }

    // The program reads one of two things: one item's value (get), or every
    // item's attributes (list).
    CopyResult copyMatching(const KeychainQuery& query, std::span<const Attribute> readAttributes) override {
        const Call call = begin(query, /*reads=*/true);
        if (failed(call.refusal)) return {call.refusal, {}};
        const auto* limit = valueOf<Constant>(query, Attribute::MatchLimit);
        const auto* data = valueOf<bool>(query, Attribute::ReturnData);
        const auto* attributes = valueOf<bool>(query, Attribute::ReturnAttributes);
        const bool wantData = data && *data, wantAttributes = attributes && *attributes;
        const bool all = limit && *limit == Constant::MatchLimitAll;
        const auto* prompt = valueOf<AuthenticationPrompt>(query, Attribute::UseAuthenticationContext);
        if (wantData && !wantAttributes && !all &&
            !mistyped<AuthenticationPrompt>(query, Attribute::UseAuthenticationContext)) {
            // Access is decided on the item's row; its value is read only once granted.
            return store_.readValue(call.match, [&](const ItemRow& row) {
                return authorise(row, call.mac, prompt ? prompt->reason : std::string());
            });
        }
        if (wantAttributes && !wantData && all) {
            PropertyList::Array results;
            KeychainStatus listed = store_.forEach(
                call.match, [&](const ItemRow& row) { results.push_back(attributesOf(row, readAttributes)); });
            if (failed(listed)) return {listed, {}};
            return {{}, PropertyList::array(std::move(results))};
        }
        return {withText(status::param), {}};
    }

    KeychainStatus remove(const KeychainQuery& query) override {
        const Call call = begin(query, /*reads=*/false);
        if (failed(call.refusal)) return call.refusal;
        return store_.remove(call.match);
    }

    Expected<AccessControl> createAccessControl(std::uint32_t flags) override { return AccessControl{flags, {}}; }

    // A profile that cannot be read says nothing of the signature; the item
    // call then reports what is wrong with it.
    bool hasAccessGroupEntitlement() override {
        auto loaded = loadProfile();
        return !loaded || !loaded->entitlementMissing;
    }

    KeychainStatus describe(OSStatus status) override { return withText(status); }

private:
    ItemStore store_;
};

}  // namespace

std::unique_ptr<Keychain> makeSystemKeychain() { return std::make_unique<SimulatedKeychain>(); }

}  // namespace tresk
