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

// The items a call means; an item added is named by it, with an empty
// service or account where it has none.
struct ItemMatch {
    std::string itemClass;
    std::optional<std::string> service;
    std::optional<std::string> account;
    bool synchronizable = false;
};

// A stored item's attributes as its row gives them, valid during one visit;
// the value is read apart, once access is granted.
struct ItemRow {
    std::string_view service, account;
    std::uint32_t accessFlags = 0;
    std::string_view enrollment;  // the enrolled set at the time of adding
};

class ItemStore {
public:
    ItemStore() = default;
    ~ItemStore();
    ItemStore(const ItemStore&) = delete;
    ItemStore& operator=(const ItemStore&) = delete;

    // `accessFlags` are SecAccessControlCreateFlags, 0 when unprotected.
    KeychainStatus insert(const ItemMatch& name, const Bytes& value, std::uint32_t accessFlags,
                          const std::string& enrollment);
    // The value of the first item that matches, read into a buffer of its
    // size that is wiped on release once `grant` allows its row; itemNotFound
    // when none matches.
    CopyResult readValue(const ItemMatch& match, const std::function<KeychainStatus(const ItemRow&)>& grant);
    // Every item that matches, in the order they were added; itemNotFound for none.
    KeychainStatus forEach(const ItemMatch& match, const std::function<void(const ItemRow&)>& visit);
    KeychainStatus remove(const ItemMatch& match);

private:
    // Opens the store, for writing when the user can write it, else for
    // reading, once its files are trusted; one whose schema is not exactly
    // the simulator's is invalidKeychain.
    KeychainStatus open();
    KeychainStatus checkLayout();
    // `body` in a transaction that holds the write lock from its start.
    KeychainStatus write(const std::function<KeychainStatus()>& body);

    sqlite3* db_ = nullptr;
    bool readOnly_ = false;
};

}  // namespace tresk::simulator
