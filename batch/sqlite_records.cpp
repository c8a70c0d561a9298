#include "batch/sqlite_records.h"

#include "batch/record_fields.h"
#include "batch/record_formats.h"
#include "text/cp1252.h"

#include <sqlite3.h>

#include <utility>

namespace quillet {

namespace {

// The names are the program's own, plain ASCII, so they need no quoting.
std::string createTableStatement() {
    std::string sql = "CREATE TABLE ";
    sql += RecordName;
    sql += " (";
    sql += IdColumn;
    sql += " INTEGER PRIMARY KEY, ";
    sql += FileNameColumn;
    sql += " TEXT NOT NULL";
    for (const XmlField& field : XmlFields) {
        sql += ", ";
        sql += field.element;
        sql += " TEXT";
    }
    sql += ')';
    return sql;
}

std::string insertStatement() {
    std::string sql = "INSERT INTO ";
    sql += RecordName;
    sql += " VALUES (?, ?";
    for (std::size_t r = 0; r < XmlFields.size(); ++r)
        sql += ", ?";
    sql += ')';
    return sql;
}

bool execute(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

bool SqliteRecords::builtIn() {
    return true;
}

SqliteRecords::~SqliteRecords() {
    close();
}

bool SqliteRecords::open(const std::string& path) {
    close();
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        close();
        return false;
    }
    // The file is new and becomes the result only once it is complete, so the journal's
    // protection of older content has nothing to protect; the transaction stays whole.
    if (!execute(db_, "PRAGMA journal_mode=MEMORY") || !execute(db_, "BEGIN") ||
        !execute(db_, createTableStatement()) ||
        sqlite3_prepare_v2(db_, insertStatement().c_str(), -1, &insert_, nullptr) != SQLITE_OK) {
        close();
        return false;
    }
    return true;
}

bool SqliteRecords::insert(std::string_view fileText, long long id, std::string_view fileName) {
    if (insert_ == nullptr)
        return false;
    const FieldContents contents = findFieldContents(fileText);
    sqlite3_reset(insert_);
    sqlite3_bind_int64(insert_, 1, id);
    sqlite3_bind_text64(insert_, 2, fileName.data(), fileName.size(), SQLITE_STATIC, SQLITE_UTF8);
    for (std::size_t r = 0; r < XmlFields.size(); ++r) {
        const int column = static_cast<int>(r) + 3;
        if (!contents[r]) {
            sqlite3_bind_null(insert_, column);
            continue;
        }
        utf8_[r].clear();
        appendUtf8(*contents[r], utf8_[r]);
        sqlite3_bind_text64(insert_, column, utf8_[r].data(), utf8_[r].size(), SQLITE_STATIC,
                            SQLITE_UTF8);
    }
    return sqlite3_step(insert_) == SQLITE_DONE;
}

bool SqliteRecords::commit() {
    if (insert_ == nullptr)
        return false;
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    const bool committed = execute(db_, "COMMIT");
    return sqlite3_close(std::exchange(db_, nullptr)) == SQLITE_OK && committed;
}

void SqliteRecords::close() {
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    // Closing with the transaction open rolls it back.
    sqlite3_close(db_);
    db_ = nullptr;
}

} // namespace quillet
