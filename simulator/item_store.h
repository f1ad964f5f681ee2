// The simulated Keychain's items, in SQLite. Every call answers a
// Keychain-style status; a damaged or unusable database is a status, never a crash.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "store/keychain/keychain_query.h"

struct sqlite3;

namespace tresk::simulator {

// What an item's access flags read as when the store holds anything but a
// whole number of 32 bits there (text, a real, a blob, a number out of
// range): a flag for everything, so nothing the simulated Mac would release.
inline constexpr std::uint32_t unreadableAccessFlags = 0xFFFFFFFF;

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

// A stored item's attributes as a row gives them, valid during one visit.
struct ItemRow {
    std::string_view itemClass, service, account;
    bool synchronizable = false;
    std::uint32_t accessFlags = 0;
    std::string_view protection, enrollment;
    double created = 0, modified = 0;
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

    // Opens the store, for writing when the user can write it, else for
    // reading; a damaged one, or one holding objects it did not create, is
    // invalidKeychain.
    OSStatus open();
    // Why the last call gave notAvailable, in words for its status text.
    const std::string& problem() const { return problem_; }
    OSStatus insert(const StoredItem& item);
    // The first item that matches, with its value when `withData`.
    OSStatus findFirst(const ItemMatch& match, bool withData, StoredItem& out);
    // Every item that matches, in the order they were added; itemNotFound for none.
    OSStatus forEach(const ItemMatch& match, const std::function<void(const ItemRow&)>& visit);
    OSStatus remove(const ItemMatch& match);

private:
    void close();
    OSStatus openForReading();
    OSStatus openForWriting();
    // notAvailable, with the problem, when the store was opened for reading only.
    OSStatus refuseWhenReadOnly();

    sqlite3* db_ = nullptr;
    bool readOnly_ = false;
    std::string problem_;
};

}  // namespace tresk::simulator
