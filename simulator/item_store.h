// The simulated Keychain's items, in SQLite. Every call answers a
// Keychain-style status; a damaged or unusable database is a status, never a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "store/keychain/keychain_query.h"

struct sqlite3;

namespace tresk::simulator {

struct StoredItem {
    std::string itemClass;
    std::string service;
    std::string account;
    bool synchronizable = false;
    Bytes data;
    std::uint32_t accessFlags = 0;  // SecAccessControlCreateFlags; 0 when unprotected
    std::string protection;         // "aku": when unlocked, this device only
    std::string enrollment;         // the enrolled set at the time of adding
    double created = 0;             // seconds since 2001-01-01
    double modified = 0;
};

struct ItemMatch {
    std::string itemClass;
    std::optional<std::string> service;
    std::optional<std::string> account;
    bool synchronizable = false;
};

class ItemStore {
public:
    ItemStore() = default;
    ~ItemStore();
    ItemStore(const ItemStore&) = delete;
    ItemStore& operator=(const ItemStore&) = delete;

    OSStatus open();
    // Why the last call gave notAvailable, in words for its status text.
    const std::string& problem() const { return problem_; }
    OSStatus insert(const StoredItem& item);
    OSStatus find(const ItemMatch& match, bool onlyFirst, bool withData, std::vector<StoredItem>& out);
    OSStatus remove(const ItemMatch& match);

private:
    void close();

    sqlite3* db_ = nullptr;
    std::string problem_;
};

}  // namespace tresk::simulator
