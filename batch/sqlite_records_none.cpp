#include "batch/sqlite_records.h"

// A build without SQLite (Debian has none for Windows): the format is known by name, but
// no database can be written.

namespace quillet {

bool SqliteRecords::builtIn() {
    return false;
}

SqliteRecords::~SqliteRecords() = default;

bool SqliteRecords::open(const std::string&) {
    return false;
}

bool SqliteRecords::insert(std::string_view, long long, std::string_view) {
    return false;
}

bool SqliteRecords::commit() {
    return false;
}

void SqliteRecords::close() {
    db_ = nullptr; // nothing was ever opened
    insert_ = nullptr;
}

} // namespace quillet
