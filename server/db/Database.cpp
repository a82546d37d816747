#include "server/db/Database.h"

#include <sqlite3.h>

namespace tessaly::house {
namespace {

[[noreturn]] void raise(sqlite3* db, std::string_view what)
{
    throw DatabaseError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db)
{
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
        raise(db_, "prepare");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, std::int64_t value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        raise(db_, "bind");
    return *this;
}

Statement& Statement::bind(int index, std::string_view value)
{
    if (sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        raise(db_, "bind");
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const std::string message = sqlite3_errmsg(db_);
    sqlite3_reset(stmt_);
    throw DatabaseError("step: " + message);
}

void Statement::run()
{
    while (step()) {
    }
    reset();
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::text(int column) const
{
    const auto* p = sqlite3_column_text(stmt_, column);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string();
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

Database::Database(const std::string& path)
{
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw DatabaseError("cannot open " + path + ": " + message);
    }
    sqlite3_busy_timeout(db_, 2000);
    exec("PRAGMA foreign_keys = ON");
    // A committed transaction survives a crash of the process; WAL keeps
    // the commits of every hand cheap.
    exec("PRAGMA journal_mode = WAL");
    exec("PRAGMA synchronous = NORMAL");
}

Database::~Database() { sqlite3_close(db_); }

void Database::exec(std::string_view sql)
{
    const std::string copy(sql);
    char* error = nullptr;
    if (sqlite3_exec(db_, copy.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw DatabaseError(message);
    }
}

std::int64_t Database::changes() const { return sqlite3_changes64(db_); }
std::int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

void Database::transaction(const std::function<void()>& work)
{
    exec("BEGIN IMMEDIATE");
    try {
        work();
        exec("COMMIT");
    } catch (...) {
        exec("ROLLBACK");
        throw;
    }
}

int Database::schemaVersion()
{
    Statement s(db_, "PRAGMA user_version");
    s.step();
    return static_cast<int>(s.integer(0));
}

void Database::migrate(const std::vector<std::string_view>& migrations)
{
    const int current = schemaVersion();
    if (current > static_cast<int>(migrations.size()))
        throw DatabaseError("the database was written by a newer house server (schema " + std::to_string(current) + ")");
    for (int v = current; v < static_cast<int>(migrations.size()); ++v) {
        transaction([&] {
            exec(migrations[static_cast<std::size_t>(v)]);
            exec("PRAGMA user_version = " + std::to_string(v + 1));
        });
    }
}

} // namespace tessaly::house
