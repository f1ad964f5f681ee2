#include "simulator/item_store.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string_view>
#include <cstring>
#include <memory>
#include <utility>

#include <sqlite3.h>

#include "simulator/simulator_files.h"
#include "simulator/status_texts.h"

namespace tresk::simulator {
namespace {

constexpr int schemaVersion = 2;

// The value comes last: inserted as a zero-filled blob it takes no memory of
// its size, and reading the other columns walks none of its pages.
constexpr const char* itemsTable =
    " (class TEXT NOT NULL, service TEXT NOT NULL, account TEXT NOT NULL,"
    " synchronizable INTEGER NOT NULL, access_flags INTEGER NOT NULL, protection TEXT NOT NULL,"
    " enrollment TEXT NOT NULL, created REAL NOT NULL, modified REAL NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY (class, service, account, synchronizable))";
constexpr const char* metadataColumns =
    "class, service, account, synchronizable, access_flags, protection, enrollment, created, modified";
constexpr int valueChunk = 1 << 20;  // the value crosses into and out of SQLite in pieces of this size
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

std::string_view columnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                : std::string_view();
}

// The columns of metadataColumns, then the rowid.
ItemRow rowOf(sqlite3_stmt* stmt) {
    ItemRow row;
    row.rowid = sqlite3_column_int64(stmt, 9);
    row.itemClass = columnText(stmt, 0);
    row.service = columnText(stmt, 1);
    row.account = columnText(stmt, 2);
    row.synchronizable = sqlite3_column_int(stmt, 3) != 0;
    const sqlite3_int64 flags = sqlite3_column_int64(stmt, 4);
    const bool whole = sqlite3_column_type(stmt, 4) == SQLITE_INTEGER && flags >= 0 && flags < unreadableAccessFlags;
    row.accessFlags = whole ? static_cast<std::uint32_t>(flags) : unreadableAccessFlags;
    row.protection = columnText(stmt, 5);
    row.enrollment = columnText(stmt, 6);
    row.created = sqlite3_column_double(stmt, 7);
    row.modified = sqlite3_column_double(stmt, 8);
    return row;
}

using Blob = std::unique_ptr<sqlite3_blob, decltype(&sqlite3_blob_close)>;

// Reads the value straight into a wiped-on-release buffer of its size: the
// only copy.
OSStatus readBlob(sqlite3* db, sqlite3_int64 rowid, Bytes& out) {
    sqlite3_blob* handle = nullptr;
    int rc = sqlite3_blob_open(db, "main", "items", "data", rowid, 0, &handle);
    Blob blob(handle, &sqlite3_blob_close);
    if (rc != SQLITE_OK) return statusFor(rc);
    const int size = sqlite3_blob_bytes(blob.get());
    auto buffer = std::make_shared<SecretBuffer>();
    buffer->reserve(static_cast<std::size_t>(size));
    for (int at = 0; at < size; at += valueChunk) {
        const int n = std::min(valueChunk, size - at);
        rc = sqlite3_blob_read(blob.get(), buffer->spare(static_cast<std::size_t>(n)).data(), n, at);
        if (rc != SQLITE_OK) return statusFor(rc);
        buffer->commit(static_cast<std::size_t>(n));
    }
    out = Bytes::adopt(std::move(buffer));
    return status::success;
}

// Fills the zero-filled value of row `rowid` from the caller's bytes.
OSStatus writeValue(sqlite3* db, sqlite3_int64 rowid, const Bytes& value) {
    sqlite3_blob* handle = nullptr;
    int rc = sqlite3_blob_open(db, "main", "items", "data", rowid, 1, &handle);
    Blob blob(handle, &sqlite3_blob_close);
    if (rc != SQLITE_OK) return statusFor(rc);
    const auto size = static_cast<int>(value.size());
    for (int at = 0; at < size; at += valueChunk) {
        rc = sqlite3_blob_write(blob.get(), value.data() + at, std::min(valueChunk, size - at), at);
        if (rc != SQLITE_OK) return statusFor(rc);
    }
    return status::success;
}

// Whether the database holds exactly the objects this program makes: the
// items table and the index of its key, or nothing at all when `empty`. A
// trigger, a view in the table's place or a table of someone else's would
// run, or be read, inside the program's own transactions.
OSStatus schemaIsOurs(sqlite3* db, bool empty) {
    int rc = SQLITE_OK;
    auto objects = prepare(db, "SELECT type, name, tbl_name FROM sqlite_schema ORDER BY name", rc);
    if (rc != SQLITE_OK) return statusFor(rc);
    std::string found;
    while ((rc = sqlite3_step(objects.get())) == SQLITE_ROW) {
        for (int column = 0; column < 3; ++column) {
            found.append(columnText(objects.get(), column)).append(column < 2 ? " " : ";");
        }
    }
    if (rc != SQLITE_DONE) return statusFor(rc);
    const std::string_view ours = empty ? "" : "table items items;index sqlite_autoindex_items_1 items;";
    return found == ours ? status::success : status::invalidKeychain;
}

// The schema version, and whether the database is one this program can use
// as it is: the present layout with nothing in it but its own objects.
OSStatus readVersion(sqlite3* db, int& version) {
    int rc = SQLITE_OK;
    auto statement = prepare(db, "PRAGMA user_version", rc);
    if (rc != SQLITE_OK) return statusFor(rc);
    rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW) return statusFor(rc);
    version = sqlite3_column_int(statement.get(), 0);
    return status::success;
}

OSStatus checkPresentLayout(sqlite3* db) {
    if (OSStatus status = schemaIsOurs(db, /*empty=*/false)) return status;
    // The right version and not the right table is damage all the same.
    int rc = SQLITE_OK;
    auto items = prepare(db, (std::string("SELECT ") + metadataColumns + ", data FROM items LIMIT 0").c_str(), rc);
    return rc == SQLITE_OK ? status::success : status::invalidKeychain;
}

}  // namespace

ItemStore::~ItemStore() { close(); }

void ItemStore::close() {
    sqlite3_close(db_);
    db_ = nullptr;
}

KeychainStatus ItemStore::open() {
    if (db_) return {};
    const std::string path = keychainPath();
    // Every file of the store is trusted before SQLite opens any; SQLite makes
    // its journal with the database's mode, whatever the umask.
    auto access = trustStore();
    if (!access) return unavailable(access.problem());
    const int mode = *access == Access::ReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    int rc = sqlite3_open_v2(path.c_str(), &db_, mode | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc != SQLITE_OK) {
        close();  // a failed open leaves a handle that must not be used
        return withText(statusFor(rc));
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    readOnly_ = sqlite3_db_readonly(db_, "main") == 1;
    KeychainStatus opened = readOnly_ ? openForReading() : withText(openForWriting());
    if (opened.status != status::success) close();
    return opened;
}

KeychainStatus ItemStore::openForReading() {
    // Nothing can be created or moved to the present layout here; a read
    // transaction keeps a writer elsewhere from changing it meanwhile.
    int rc = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return withText(statusFor(rc));
    int version = 0;
    KeychainStatus status = withText(readVersion(db_, version));
    if (status.status == status::success && version != schemaVersion) {
        status = version == 0 || version == 1
                     ? unavailable({keychainPath() + " is read-only and not of the present layout"})
                     : withText(status::invalidKeychain);
    }
    if (status.status == status::success) status = withText(checkPresentLayout(db_));
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    return status;
}

OSStatus ItemStore::openForWriting() {
    return inWriteTransaction(db_, [&]() -> OSStatus {
        int found = 0;
        if (OSStatus status = readVersion(db_, found)) return status;
        if (found == schemaVersion) return checkPresentLayout(db_);
        std::string sql;
        if (found == 0) {
            if (OSStatus status = schemaIsOurs(db_, /*empty=*/true)) return status;  // someone else's tables
            sql = std::string("CREATE TABLE items") + itemsTable + ";";
        } else if (found == 1) {
            if (OSStatus status = schemaIsOurs(db_, /*empty=*/false)) return status;
            // The first layout stored the value before the other columns, and
            // the protection class as akpu (when a passcode is set) where the
            // program asks for aku (when unlocked); both are mended.
            sql = std::string("CREATE TABLE items_v2") + itemsTable + ";" +
                  "INSERT INTO items_v2 (" + metadataColumns + ", data)"
                  " SELECT class, service, account, synchronizable, access_flags,"
                  " CASE protection WHEN 'akpu' THEN 'aku' ELSE protection END,"
                  " enrollment, created, modified, data FROM items;"
                  "DROP TABLE items; ALTER TABLE items_v2 RENAME TO items;";
        } else {
            return status::invalidKeychain;  // written by something else
        }
        sql += "PRAGMA user_version = " + std::to_string(schemaVersion) + ";";
        int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
        if ((rc & 0xff) == SQLITE_ERROR) return status::invalidKeychain;  // the old table was not the old table
        return statusFor(rc);
    });
}

KeychainStatus ItemStore::refuseWhenReadOnly() const {
    if (!readOnly_) return {};
    return unavailable({keychainPath() + " cannot be written"});
}

KeychainStatus ItemStore::insert(const NewItem& item) {
    if (KeychainStatus opened = open(); opened.status != status::success) return opened;
    if (KeychainStatus writable = refuseWhenReadOnly(); writable.status != status::success) return writable;
    return withText(inWriteTransaction(db_, [&]() -> OSStatus {
        int rc = SQLITE_OK;
        auto stmt = prepare(db_,
                            (std::string("INSERT INTO items (") + metadataColumns +
                             ", data) VALUES (?,?,?,?,?,?,?,?,?,zeroblob(?))")
                                .c_str(),
                            rc);
        if (rc != SQLITE_OK) return statusFor(rc);
        double stamp = now();
        bindText(stmt.get(), 1, item.itemClass);
        bindText(stmt.get(), 2, item.service);
        bindText(stmt.get(), 3, item.account);
        sqlite3_bind_int(stmt.get(), 4, item.synchronizable ? 1 : 0);
        sqlite3_bind_int64(stmt.get(), 5, item.accessFlags);
        bindText(stmt.get(), 6, item.protection);
        bindText(stmt.get(), 7, item.enrollment);
        sqlite3_bind_double(stmt.get(), 8, stamp);
        sqlite3_bind_double(stmt.get(), 9, stamp);
        // Zeros first, then the value written into them in pieces: SQLite never
        // builds a record that holds a second copy of it.
        if (item.data.size() > static_cast<std::size_t>(INT32_MAX)) return status::param;
        sqlite3_bind_int64(stmt.get(), 10, static_cast<sqlite3_int64>(item.data.size()));
        rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_DONE) return statusFor(rc);
        return writeValue(db_, sqlite3_last_insert_rowid(db_), item.data);
    }));
}

KeychainStatus ItemStore::findFirst(const ItemMatch& match,
                                    const std::function<KeychainStatus(const ItemRow&)>& visit) {
    if (KeychainStatus opened = open(); opened.status != status::success) return opened;
    int rc = SQLITE_OK;
    auto stmt = prepare(db_,
                        (std::string("SELECT ") + metadataColumns + ", rowid FROM items" + whereClause(match) +
                         " ORDER BY rowid LIMIT 1")
                            .c_str(),
                        rc);
    if (rc != SQLITE_OK) return withText(statusFor(rc));
    bindMatch(stmt.get(), match);
    rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_DONE) return withText(status::itemNotFound);
    if (rc != SQLITE_ROW) return withText(statusFor(rc));
    return visit(rowOf(stmt.get()));
}

KeychainStatus ItemStore::forEach(const ItemMatch& match, const std::function<void(const ItemRow&)>& visit) {
    if (KeychainStatus opened = open(); opened.status != status::success) return opened;
    int rc = SQLITE_OK;
    // Without a name to look up, the table read in its own order beats the
    // index SQLite would pick for the class (a lookup and a sort per item).
    const char* table = match.service ? " FROM items" : " FROM items NOT INDEXED";
    const std::string sql =
        std::string("SELECT ") + metadataColumns + ", rowid" + table + whereClause(match) + " ORDER BY rowid";
    auto stmt = prepare(db_, sql.c_str(), rc);
    if (rc != SQLITE_OK) return withText(statusFor(rc));
    bindMatch(stmt.get(), match);
    bool found = false;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        visit(rowOf(stmt.get()));
        found = true;
    }
    if (rc != SQLITE_DONE) return withText(statusFor(rc));
    return found ? KeychainStatus{} : withText(status::itemNotFound);
}

KeychainStatus ItemStore::readValue(std::int64_t rowid, Bytes& value) {
    if (KeychainStatus opened = open(); opened.status != status::success) return opened;
    return withText(readBlob(db_, rowid, value));
}

KeychainStatus ItemStore::remove(const ItemMatch& match) {
    if (KeychainStatus opened = open(); opened.status != status::success) return opened;
    if (KeychainStatus writable = refuseWhenReadOnly(); writable.status != status::success) return writable;
    return withText(inWriteTransaction(db_, [&]() -> OSStatus {
        int rc = SQLITE_OK;
        auto stmt = prepare(db_, ("DELETE FROM items" + whereClause(match)).c_str(), rc);
        if (rc != SQLITE_OK) return statusFor(rc);
        bindMatch(stmt.get(), match);
        rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_DONE) return statusFor(rc);
        return sqlite3_changes(db_) > 0 ? status::success : status::itemNotFound;
    }));
}

}  // namespace tresk::simulator
