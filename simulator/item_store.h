// The simulated Keychain's items, in SQLite. Every call answers a Keychain
// status with its text; a damaged or unusable database is a status, never a
// crash.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "store/keychain/keychain.h"

struct sqlite3;

namespace tresk::simulator {

// What an item's access flags read as when the store holds anything but a
// whole number of 32 bits there (text, a real, a blob, a number out of
// range): a flag for everything, so nothing the simulated Mac would release.
inline constexpr std::uint32_t unreadableAccessFlags = 0xFFFFFFFF;

// What add stores: the item's attributes and its value.
struct NewItem {
    std::string itemClass;
    std::string service;
    std::string account;
    bool synchronizable = false;
    Bytes data;
    std::uint32_t accessFlags = 0;  // SecAccessControlCreateFlags; 0 when unprotected
    std::string protection;         // "aku": when unlocked, this device only
    std::string enrollment;         // the enrolled set at the time of adding
};

// A stored item's attributes as its row gives them, valid during one visit;
// the value is read apart, by the row's number, once access is granted.
struct ItemRow {
    std::int64_t rowid = 0;
    std::string_view itemClass, service, account;
    bool synchronizable = false;
    std::uint32_t accessFlags = 0;
    std::string_view protection, enrollment;
    double created = 0, modified = 0;  // seconds since 2001-01-01
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

    KeychainStatus insert(const NewItem& item);
    // The first item that matches, visited while its row is read; the
    // visit's answer is the call's. itemNotFound when none matches.
    KeychainStatus findFirst(const ItemMatch& match, const std::function<KeychainStatus(const ItemRow&)>& visit);
    // Every item that matches, in the order they were added; itemNotFound for none.
    KeychainStatus forEach(const ItemMatch& match, const std::function<void(const ItemRow&)>& visit);
    // The value of the row `rowid`, into a buffer of its size that is wiped on release.
    KeychainStatus readValue(std::int64_t rowid, Bytes& value);
    KeychainStatus remove(const ItemMatch& match);

private:
    // Opens the store, for writing when the user can write it, else for
    // reading; a damaged one, or one holding objects it did not create, is
    // invalidKeychain.
    KeychainStatus open();
    void close();
    KeychainStatus openForReading();
    OSStatus openForWriting();
    // notAvailable, with the problem, when the store was opened for reading only.
    KeychainStatus refuseWhenReadOnly() const;

    sqlite3* db_ = nullptr;
    bool readOnly_ = false;
};

}  // namespace tresk::simulator
