#pragma once
// Two small owners over the SQLite C API: a connection and a prepared statement. Only
// the store's own sources use them; sqlite3.h stays out of every header.

#include "store/store_error.h"

#include <QString>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace tavuro::store::detail {

// How long a connection waits for another process's lock (a reader of the journal, a
// second program on the same file) before a change or read fails as busy.
inline constexpr int kBusyTimeoutMilliseconds = 5000;

class Connection {
 public:
  Connection() = default;
  Connection(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}
  Connection(Connection&& other) noexcept;
  Connection& operator=(Connection&& other) noexcept;
  ~Connection();

  sqlite3* get() const { return db_; }
  const QString& path() const { return path_; }
  explicit operator bool() const { return db_ != nullptr; }
  void close();
  void exec(const char* sql);
  // Turns the connection's last error into the StoreError of its kind.
  [[noreturn]] void fail(int code, const char* during) const;

 private:
  sqlite3* db_ = nullptr;
  QString path_;
};

class Statement {
 public:
  Statement(const Connection& connection, const QString& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  void bind(int index, const QString& value);
  void bind(int index, qint64 value);
  // true while a row is ready.
  bool step();
  // Runs a statement that returns no rows.
  void run();
  // Makes the statement ready to run again with new values bound.
  void reset();
  QString text(int column) const;
  qint64 integer(int column) const;
  int column_count() const;

 private:
  const Connection& connection_;
  sqlite3_stmt* stmt_ = nullptr;
};

// SQLite's identifier quoting: "name" with inner quotes doubled.
QString quoted(const QString& identifier);

}  // namespace tavuro::store::detail

namespace tavuro::store::detail {

// Whether a database built aside may replace a file already at its place.
enum class Placement { Replace, NeverReplace };

// Builds a database under a temporary name beside path — opened by open, filled by fill
// inside one transaction — and then puts it at path, so that no half-made file is ever
// seen; the folder is flushed after. A failure leaves nothing behind and throws Io.
void build_aside(const QString& path, Placement placement, const std::function<Connection(const QString&)>& open,
                 const std::function<void(Connection&)>& fill);

}  // namespace tavuro::store::detail
