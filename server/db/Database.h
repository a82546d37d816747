#pragma once
// A thin owner of one SQLite connection: statements, transactions and the
// schema version with its migrations.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tessaly::house {

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view value);
    // True while a row is available.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    std::int64_t integer(int column) const;
    std::string text(int column) const;
    void reset();

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    // Opens (creating) the file; ":memory:" for a private in-memory database.
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(std::string_view sql);
    Statement prepare(std::string_view sql) { return Statement(db_, sql); }
    std::int64_t changes() const;
    std::int64_t lastInsertId() const;

    // Runs work inside one transaction; any exception rolls it back.
    void transaction(const std::function<void()>& work);

    int schemaVersion();
    // migrations[i] takes the schema from version i to i + 1; the ones not
    // yet applied run in order, each in its own transaction.
    void migrate(const std::vector<std::string_view>& migrations);

    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

} // namespace tessaly::house
