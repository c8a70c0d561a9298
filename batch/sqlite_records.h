#pragma once

#include "batch/record_fields.h"

#include <array>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quillet {

// Records written into a new SQLite database: one table named like the XML's record
// element, with the record number, the file's name and one text column per field (NULL
// where the tag does not occur), all in one transaction, so the table holds every record
// or none.
class SqliteRecords {
public:
    // False in a build without SQLite: every call then fails.
    static bool builtIn();

    SqliteRecords() = default;
    ~SqliteRecords(); // an open transaction is rolled back
    SqliteRecords(const SqliteRecords&) = delete;
    SqliteRecords& operator=(const SqliteRecords&) = delete;

    // Opens the database file (an empty file or none), creates the table and starts the
    // transaction.
    bool open(const std::string& path);
    // `fileText` is the file's Windows-1252 text with CR LF line breaks; `fileName` UTF-8.
    bool insert(std::string_view fileText, long long id, std::string_view fileName);
    // Commits the transaction and closes the database.
    bool commit();
    // Rolls back and closes; what is in the file then is not of use.
    void close();

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    std::array<std::string, XmlFields.size()> utf8_; // the fields as UTF-8, kept until written
};

} // namespace quillet
