#include "simulator/item_store.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include <sqlite3.h>

#include "simulator/simulator_files.h"
#include "simulator/status_texts.h"

namespace tresk::simulator {
namespace {

constexpr int valueChunk = 1 << 20;  // the value crosses into and out of SQLite in pieces of this size
constexpr int busyTimeoutMs = 30000;  // concurrent runs queue up instead of failing

// The value comes last: inserted as a zero-filled blob it takes no memory of
// its size, and reading the other columns walks none of its pages.
constexpr std::string_view itemsColumns =
    " (class TEXT NOT NULL, service TEXT NOT NULL, account TEXT NOT NULL,"
    " synchronizable INTEGER NOT NULL, access_flags INTEGER NOT NULL, protection TEXT NOT NULL,"
    " enrollment TEXT NOT NULL, created REAL NOT NULL, modified REAL NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY (class, service, account, synchronizable))";

// A store the simulator made: its version, the definition of its items table
// (none while it is still empty), and what moves it to the present layout.
struct Layout {
    int version;
    std::string table;
    std::string upgrade;  // none for the present layout
};

const std::vector<Layout>& layouts() {
    static const std::vector<Layout> made = [] {
        const std::string columns(itemsColumns), present = "PRAGMA user_version = 2;";
        return std::vector<Layout>{
            {0, "", "CREATE TABLE items" + columns + ";" + present},
            // The first layout stored the value before the other columns, and
            // the protection class as akpu (when a passcode is set) where the
            // program asks for aku (when unlocked); both are mended.
            {1,
             "CREATE TABLE items ( class TEXT NOT NULL, service TEXT NOT NULL, account TEXT NOT NULL,"
             " synchronizable INTEGER NOT NULL, data BLOB NOT NULL, access_flags INTEGER NOT NULL,"
             " protection TEXT NOT NULL, enrollment TEXT NOT NULL, created REAL NOT NULL, modified REAL NOT NULL,"
             " PRIMARY KEY (class, service, account, synchronizable))",
             "CREATE TABLE items_v2" + columns +
                 ";INSERT INTO items_v2 (class, service, account, synchronizable, access_flags, protection,"
                 " enrollment, created, modified, data)"
                 " SELECT class, service, account, synchronizable, access_flags,"
                 " CASE protection WHEN 'akpu' THEN 'aku' ELSE protection END,"
                 " enrollment, created, modified, data FROM items;"
                 "DROP TABLE items; ALTER TABLE items_v2 RENAME TO items;" +
                 present},
            {2, "CREATE TABLE items" + columns, ""},
            {2, "CREATE TABLE \"items\"" + columns, ""},  // as the rename above writes it
        };
    }();
    return made;
}

// A definition as SQL reads it: white space only parts two words, so the
// spacing it was written with is not compared.
std::string canonical(std::string_view sql) {
    auto inWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '"'; };
    std::string out;
    bool gap = false;
    for (char c : sql) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            gap = true;
            continue;
        }
        if (gap && !out.empty() && inWord(out.back()) && inWord(c)) out += ' ';
        gap = false;
        out += c;
    }
    return out;
}

// The version, then each schema object: type, name, table, definition.
using SchemaRow = std::array<std::string, 4>;

std::vector<SchemaRow> schemaOf(const Layout& layout) {
    std::vector<SchemaRow> rows{{"user_version", std::to_string(layout.version), "", ""}};
    if (!layout.table.empty()) {
        rows.push_back({"table", "items", "items", canonical(layout.table)});
        rows.push_back({"index", "sqlite_autoindex_items_1", "items", ""});  // of the primary key
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

KeychainStatus statusOf(int rc) {
    const OSStatus status = [rc] {
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
    }();
    return withText(status);
}

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;
using Binding = std::function<void(sqlite3_stmt*)>;

// Runs one statement, bound by `bind`, and hands each row it yields to
// `row`, whose first failure is the answer.
KeychainStatus run(sqlite3* db, const std::string& sql, const Binding& bind,
                   const std::function<KeychainStatus(sqlite3_stmt*)>& row = {}) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    Statement statement(raw, &sqlite3_finalize);
    if (rc != SQLITE_OK) return statusOf(rc);
    if (bind) bind(raw);
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        if (KeychainStatus answer = row ? row(raw) : KeychainStatus{}; failed(answer)) return answer;
    }
    return statusOf(rc);
}

// `body` from `begin` to its COMMIT, or rolled back when anything fails.
KeychainStatus transaction(sqlite3* db, const char* begin, const std::function<KeychainStatus()>& body) {
    int rc = sqlite3_exec(db, begin, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return statusOf(rc);
    KeychainStatus answer = body();
    if (!failed(answer) && (rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr)) != SQLITE_OK) {
        answer = statusOf(rc);
    }
    if (failed(answer)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return answer;
}

void bindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

// The match clause shared by the calls; binds from index 1.
std::string whereClause(const ItemMatch& match) {
    std::string where = " WHERE class = ?1 AND synchronizable = ?2";
    if (match.service) where += " AND service = ?3";
    if (match.account) where += " AND account = ?4";
    return where;
}

void bindMatch(sqlite3_stmt* stmt, const ItemMatch& match) {
    static const std::string none;  // an item added without the name; an index the statement lacks binds nothing
    bindText(stmt, 1, match.itemClass);
    sqlite3_bind_int(stmt, 2, match.synchronizable ? 1 : 0);
    bindText(stmt, 3, match.service ? *match.service : none);
    bindText(stmt, 4, match.account ? *match.account : none);
}

std::string_view columnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                : std::string_view();
}

// What a call decides on, then the row's number.
constexpr std::string_view rowColumns = "SELECT service, account, access_flags, enrollment, rowid FROM items";

ItemRow rowOf(sqlite3_stmt* stmt) {
    // The type is asked first: a conversion would leave it undefined.
    const bool integer = sqlite3_column_type(stmt, 2) == SQLITE_INTEGER;
    const sqlite3_int64 flags = sqlite3_column_int64(stmt, 2);
    const bool whole = integer && flags >= 0 && flags < unreadableAccessFlags;
    return {columnText(stmt, 0), columnText(stmt, 1), whole ? static_cast<std::uint32_t>(flags) : unreadableAccessFlags,
            columnText(stmt, 3)};
}

using Blob = std::unique_ptr<sqlite3_blob, decltype(&sqlite3_blob_close)>;

// Reads the value straight into a wiped-on-release buffer of its size: the
// only copy.
CopyResult readBlob(sqlite3* db, sqlite3_int64 rowid) {
    sqlite3_blob* handle = nullptr;
    int rc = sqlite3_blob_open(db, "main", "items", "data", rowid, 0, &handle);
    Blob blob(handle, &sqlite3_blob_close);
    if (rc != SQLITE_OK) return {statusOf(rc), {}};
    const int size = sqlite3_blob_bytes(handle);
    auto buffer = std::make_shared<SecretBuffer>();
    buffer->reserve(static_cast<std::size_t>(size));
    for (int at = 0; at < size; at += valueChunk) {
        const int n = std::min(valueChunk, size - at);
        rc = sqlite3_blob_read(handle, buffer->spare(static_cast<std::size_t>(n)).data(), n, at);
        if (rc != SQLITE_OK) return {statusOf(rc), {}};
        buffer->commit(static_cast<std::size_t>(n));
    }
    return {{}, PropertyList::data(Bytes::adopt(std::move(buffer)))};
}

// Fills the zero-filled value of row `rowid` from the caller's bytes.
KeychainStatus writeValue(sqlite3* db, sqlite3_int64 rowid, const Bytes& value) {
    sqlite3_blob* handle = nullptr;
    int rc = sqlite3_blob_open(db, "main", "items", "data", rowid, 1, &handle);
    Blob blob(handle, &sqlite3_blob_close);
    const auto size = static_cast<int>(value.size());
    for (int at = 0; rc == SQLITE_OK && at < size; at += valueChunk) {
        rc = sqlite3_blob_write(handle, value.data() + at, std::min(valueChunk, size - at), at);
    }
    return statusOf(rc);
}

}  // namespace

ItemStore::~ItemStore() { sqlite3_close(db_); }

KeychainStatus ItemStore::open() {
    if (db_) return {};
    // SQLite makes its journal with the database's mode, whatever the umask.
    auto access = trustStore();
    if (!access) return unavailable(access.problem());
    const int mode = *access == Access::ReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    const int rc = sqlite3_open_v2(keychainPath().c_str(), &db_, mode | SQLITE_OPEN_NOFOLLOW, nullptr);
    KeychainStatus opened = statusOf(rc);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db_, busyTimeoutMs);
        readOnly_ = sqlite3_db_readonly(db_, "main") == 1;
        // A writer takes the lock before it reads, as it may have to move the
        // store to the present layout; a reader keeps one from doing so meanwhile.
        opened = transaction(db_, readOnly_ ? "BEGIN" : "BEGIN IMMEDIATE", [this] { return checkLayout(); });
    }
    if (failed(opened)) {
        sqlite3_close(db_);  // a failed open leaves a handle that must not be used
        db_ = nullptr;
    }
    return opened;
}

// The schema is exactly one the simulator made, or the store is damaged: a
// trigger, a view in the table's place, a table of someone else's, or the
// table itself defined otherwise would run, or be read, inside the
// program's own transactions.
KeychainStatus ItemStore::checkLayout() {
    std::vector<SchemaRow> found;
    KeychainStatus read =
        run(db_,
            "SELECT 'user_version', user_version, '', '' FROM pragma_user_version"
            " UNION ALL SELECT type, name, tbl_name, sql FROM sqlite_schema",
            {}, [&](sqlite3_stmt* stmt) {
                found.push_back({std::string(columnText(stmt, 0)), std::string(columnText(stmt, 1)),
                                 std::string(columnText(stmt, 2)), canonical(columnText(stmt, 3))});
                return KeychainStatus{};
            });
    if (failed(read)) return read;
    std::sort(found.begin(), found.end());
    for (const Layout& layout : layouts()) {
        if (schemaOf(layout) != found) continue;
        if (layout.upgrade.empty()) return {};
        if (readOnly_) return unavailable({keychainPath() + " is read-only and not of the present layout"});
        return statusOf(sqlite3_exec(db_, layout.upgrade.c_str(), nullptr, nullptr, nullptr));
    }
    return withText(status::invalidKeychain);
}

KeychainStatus ItemStore::write(const std::function<KeychainStatus()>& body) {
    if (KeychainStatus opened = open(); failed(opened)) return opened;
    if (readOnly_) return unavailable({keychainPath() + " cannot be written"});
    return transaction(db_, "BEGIN IMMEDIATE", body);
}

KeychainStatus ItemStore::insert(const ItemMatch& name, const Bytes& value, std::uint32_t accessFlags,
                                 const std::string& enrollment) {
    return write([&] {
        // Zeros first, then the value written into them in pieces: SQLite
        // never builds a record that holds a second copy of it. Every item is
        // kept when unlocked, on this device only (aku); its dates count
        // seconds from 2001 (julian day 2451910.5).
        if (value.size() > static_cast<std::size_t>(INT32_MAX)) return withText(status::param);
        const std::string now = "(julianday('now') - 2451910.5) * 86400";
        KeychainStatus inserted =
            run(db_,
                "INSERT INTO items (class, synchronizable, service, account, access_flags, enrollment, protection,"
                " created, modified, data) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'aku', " +
                    now + ", " + now + ", zeroblob(?7))",
                [&](sqlite3_stmt* stmt) {
                    bindMatch(stmt, name);
                    sqlite3_bind_int64(stmt, 5, accessFlags);
                    bindText(stmt, 6, enrollment);
                    sqlite3_bind_int64(stmt, 7, static_cast<sqlite3_int64>(value.size()));
                });
        if (failed(inserted)) return inserted;
        return writeValue(db_, sqlite3_last_insert_rowid(db_), value);
    });
}

CopyResult ItemStore::readValue(const ItemMatch& match, const std::function<KeychainStatus(const ItemRow&)>& grant) {
    if (KeychainStatus opened = open(); failed(opened)) return {opened, {}};
    CopyResult read{withText(status::itemNotFound), {}};
    KeychainStatus ran = run(db_, std::string(rowColumns) + whereClause(match) + " ORDER BY rowid LIMIT 1",
                             [&](sqlite3_stmt* stmt) { bindMatch(stmt, match); }, [&](sqlite3_stmt* stmt) {
                                 KeychainStatus granted = grant(rowOf(stmt));
                                 read = failed(granted) ? CopyResult{granted, {}}
                                                        : readBlob(db_, sqlite3_column_int64(stmt, 4));
                                 return read.status;
                             });
    if (failed(ran)) return {ran, {}};
    return read;
}

KeychainStatus ItemStore::forEach(const ItemMatch& match, const std::function<void(const ItemRow&)>& visit) {
    if (KeychainStatus opened = open(); failed(opened)) return opened;
    // Without a name to look up, the table read in its own order beats the
    // index SQLite would pick for the class (a lookup and a sort per item).
    const char* index = match.service ? "" : " NOT INDEXED";
    bool found = false;
    KeychainStatus ran = run(db_, std::string(rowColumns) + index + whereClause(match) + " ORDER BY rowid",
                             [&](sqlite3_stmt* stmt) { bindMatch(stmt, match); }, [&](sqlite3_stmt* stmt) {
                                 visit(rowOf(stmt));
                                 found = true;
                                 return KeychainStatus{};
                             });
    if (failed(ran)) return ran;
    return found ? KeychainStatus{} : withText(status::itemNotFound);
}

KeychainStatus ItemStore::remove(const ItemMatch& match) {
    return write([&] {
        KeychainStatus removed =
            run(db_, "DELETE FROM items" + whereClause(match), [&](sqlite3_stmt* stmt) { bindMatch(stmt, match); });
        if (failed(removed)) return removed;
        return sqlite3_changes(db_) > 0 ? KeychainStatus{} : withText(status::itemNotFound);
    });
}

}  // namespace tresk::simulator
