#include "simulator/item_store.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <utility>

#include <sqlite3.h>

#include "simulator/simulator_files.h"

namespace tresk::simulator {
namespace {

constexpr int schemaVersion = 1;
constexpr int busyTimeoutMs = 30000;  // concurrent runs queue up instead of failing

OSStatus statusFor(int rc) {
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW: return status::success;
        case SQLITE_CONSTRAINT: return status::duplicateItem;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_SCHEMA: return status::invalidKeychain;
        case SQLITE_FULL: return status::diskFull;
        case SQLITE_NOMEM: return status::allocate;
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_READONLY:
        case SQLITE_AUTH: return status::notAvailable;
        default: return status::io;
    }
}

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement prepare(sqlite3* db, const char* sql, int& rc) {
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    return Statement(stmt, &sqlite3_finalize);
}

void bindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

double now() {
    using namespace std::chrono;
    constexpr double unixTo2001 = 978307200.0;
    return duration<double>(system_clock::now().time_since_epoch()).count() - unixTo2001;
}

// Runs `body` in a write transaction that takes the lock up front, so two
// runs never both read and then collide on the write.
template <typename F>
OSStatus inWriteTransaction(sqlite3* db, F body) {
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return statusFor(rc);
    OSStatus status = body();
    rc = sqlite3_exec(db, status == status::success ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    if (status == status::success && rc != SQLITE_OK) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return statusFor(rc);
    }
    return status;
}

// The match clause shared by find and remove; binds from index 1.
std::string whereClause(const ItemMatch& match) {
    std::string where = " WHERE class = ?1 AND synchronizable = ?2";
    if (match.service) where += " AND service = ?3";
    if (match.account) where += " AND account = ?4";
    return where;
}

void bindMatch(sqlite3_stmt* stmt, const ItemMatch& match) {
    bindText(stmt, 1, match.itemClass);
    sqlite3_bind_int(stmt, 2, match.synchronizable ? 1 : 0);
    if (match.service) bindText(stmt, 3, *match.service);
    if (match.account) bindText(stmt, 4, *match.account);
}

std::string columnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))) : std::string();
}

// Reads the value straight into a wiped-on-release buffer: the only copy.
OSStatus readBlob(sqlite3* db, sqlite3_int64 row, Bytes& out) {
    sqlite3_blob* blob = nullptr;
    int rc = sqlite3_blob_open(db, "main", "items", "data", row, 0, &blob);
    std::unique_ptr<sqlite3_blob, decltype(&sqlite3_blob_close)> owner(blob, &sqlite3_blob_close);
    if (rc != SQLITE_OK) return statusFor(rc);
    auto size = static_cast<std::size_t>(sqlite3_blob_bytes(blob));
    auto buffer = std::make_shared<SecretBuffer>();
    if (size) {
        buffer->reserve(size);
        rc = sqlite3_blob_read(blob, buffer->spare(size).data(), static_cast<int>(size), 0);
        if (rc != SQLITE_OK) return statusFor(rc);
        buffer->commit(size);
    }
    out = Bytes::adopt(std::move(buffer));
    return status::success;
}

}  // namespace

ItemStore::~ItemStore() { close(); }

void ItemStore::close() {
    sqlite3_close(db_);
    db_ = nullptr;
}

OSStatus ItemStore::open() {
    if (db_) return status::success;
    const std::string path = keychainPath();
    // Created 0600 before SQLite sees it, in a directory that is the user's
    // alone; SQLite gives its journal the same mode.
    if (auto problem = ensurePrivateFile(path)) {
        problem_ = *problem;
        return status::notAvailable;
    }
    int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc != SQLITE_OK) {
        close();  // a failed open leaves a handle that must not be used
        return statusFor(rc);
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);

    OSStatus opened = inWriteTransaction(db_, [&]() -> OSStatus {
        int rc = SQLITE_OK;
        auto version = prepare(db_, "PRAGMA user_version", rc);
        if (rc != SQLITE_OK) return statusFor(rc);
        rc = sqlite3_step(version.get());
        if (rc != SQLITE_ROW) return statusFor(rc);
        int found = sqlite3_column_int(version.get(), 0);
        if (found == schemaVersion) {
            // The right version and not the right table is damage all the same.
            auto items = prepare(db_,
                                 "SELECT class, service, account, synchronizable, data, access_flags, protection,"
                                 " enrollment, created, modified FROM items LIMIT 0",
                                 rc);
            return rc == SQLITE_OK ? status::success : status::invalidKeychain;
        }
        if (found != 0) return status::invalidKeychain;  // written by something else
        rc = sqlite3_exec(db_,
                          "CREATE TABLE items ("
                          " class TEXT NOT NULL, service TEXT NOT NULL, account TEXT NOT NULL,"
                          " synchronizable INTEGER NOT NULL, data BLOB NOT NULL,"
                          " access_flags INTEGER NOT NULL, protection TEXT NOT NULL,"
                          " enrollment TEXT NOT NULL, created REAL NOT NULL, modified REAL NOT NULL,"
                          " PRIMARY KEY (class, service, account, synchronizable));"
                          "PRAGMA user_version = 1;",
                          nullptr, nullptr, nullptr);
        return statusFor(rc);
    });
    if (opened != status::success) close();
    return opened;
}

OSStatus ItemStore::insert(const StoredItem& item) {
    if (OSStatus status = open()) return status;
    return inWriteTransaction(db_, [&]() -> OSStatus {
        int rc = SQLITE_OK;
        auto stmt = prepare(db_,
                            "INSERT INTO items (class, service, account, synchronizable, data, access_flags,"
                            " protection, enrollment, created, modified) VALUES (?,?,?,?,?,?,?,?,?,?)",
                            rc);
        if (rc != SQLITE_OK) return statusFor(rc);
        double stamp = now();
        bindText(stmt.get(), 1, item.itemClass);
        bindText(stmt.get(), 2, item.service);
        bindText(stmt.get(), 3, item.account);
        sqlite3_bind_int(stmt.get(), 4, item.synchronizable ? 1 : 0);
        // The value's own storage is bound, not copied (zero-length blobs need a non-null pointer).
        static const std::uint8_t none = 0;
        sqlite3_bind_blob64(stmt.get(), 5, item.data.empty() ? &none : item.data.data(), item.data.size(),
                            SQLITE_STATIC);
        sqlite3_bind_int64(stmt.get(), 6, item.accessFlags);
        bindText(stmt.get(), 7, item.protection);
        bindText(stmt.get(), 8, item.enrollment);
        sqlite3_bind_double(stmt.get(), 9, stamp);
        sqlite3_bind_double(stmt.get(), 10, stamp);
        return statusFor(sqlite3_step(stmt.get()));
    });
}

OSStatus ItemStore::find(const ItemMatch& match, bool onlyFirst, bool withData, std::vector<StoredItem>& out) {
    if (OSStatus status = open()) return status;
    std::string sql = "SELECT class, service, account, synchronizable, access_flags, protection, enrollment,"
                      " created, modified";
    sql += ", rowid";
    sql += " FROM items" + whereClause(match) + " ORDER BY rowid";
    if (onlyFirst) sql += " LIMIT 1";
    int rc = SQLITE_OK;
    auto stmt = prepare(db_, sql.c_str(), rc);
    if (rc != SQLITE_OK) return statusFor(rc);
    bindMatch(stmt.get(), match);
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        StoredItem item;
        item.itemClass = columnText(stmt.get(), 0);
        item.service = columnText(stmt.get(), 1);
        item.account = columnText(stmt.get(), 2);
        item.synchronizable = sqlite3_column_int(stmt.get(), 3) != 0;
        item.accessFlags = static_cast<std::uint32_t>(sqlite3_column_int64(stmt.get(), 4));
        item.protection = columnText(stmt.get(), 5);
        item.enrollment = columnText(stmt.get(), 6);
        item.created = sqlite3_column_double(stmt.get(), 7);
        item.modified = sqlite3_column_double(stmt.get(), 8);
        if (withData) {
            if (OSStatus status = readBlob(db_, sqlite3_column_int64(stmt.get(), 9), item.data)) return status;
        }
        out.push_back(std::move(item));
    }
    if (rc != SQLITE_DONE) return statusFor(rc);
    return out.empty() ? status::itemNotFound : status::success;
}

OSStatus ItemStore::remove(const ItemMatch& match) {
    if (OSStatus status = open()) return status;
    return inWriteTransaction(db_, [&]() -> OSStatus {
        int rc = SQLITE_OK;
        auto stmt = prepare(db_, ("DELETE FROM items" + whereClause(match)).c_str(), rc);
        if (rc != SQLITE_OK) return statusFor(rc);
        bindMatch(stmt.get(), match);
        rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_DONE) return statusFor(rc);
        return sqlite3_changes(db_) > 0 ? status::success : status::itemNotFound;
    });
}

}  // namespace tresk::simulator
