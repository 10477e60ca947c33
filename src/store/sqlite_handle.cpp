#include "store/sqlite_handle.h"

#include <sqlite3.h>

#include <utility>

namespace tavuro::store::detail {

namespace {

StoreError::Kind kind_of(int code) {
  switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
      return StoreError::Kind::Damaged;
    case SQLITE_CONSTRAINT:
    case SQLITE_TOOBIG:
      return StoreError::Kind::ValueTooLong;
    default:
      return StoreError::Kind::Io;
  }
}

}  // namespace

Connection::Connection(Connection&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
  if (this != &other) {
    close();
    db_ = std::exchange(other.db_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

Connection::~Connection() { close(); }

void Connection::close() {
  if (db_ != nullptr) sqlite3_close_v2(std::exchange(db_, nullptr));
}

void Connection::exec(const char* sql) {
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fail(rc, sql);
}

void Connection::fail(int code, const char* during) const {
  const QString message = QString::fromUtf8(db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code));
  throw StoreError(kind_of(code), path_, QString::fromUtf8(during) + QStringLiteral(": ") + message);
}

Statement::Statement(const Connection& connection, const QString& sql) : connection_(connection) {
  const QByteArray utf8 = sql.toUtf8();
  const int rc = sqlite3_prepare_v2(connection.get(), utf8.constData(), static_cast<int>(utf8.size()),
                                    &stmt_, nullptr);
  if (rc == SQLITE_ERROR) {
    // The store's own statements are sound: one that cannot be prepared names something
    // the file's table definition has lost (a column, a function of a length check), so
    // the file is damaged.
    throw StoreError(StoreError::Kind::Damaged, connection.path(),
                     QStringLiteral("prepare: ") + QString::fromUtf8(sqlite3_errmsg(connection.get())));
  }
  if (rc != SQLITE_OK) connection.fail(rc, "prepare");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::bind(int index, const QString& value) {
  const QByteArray utf8 = value.toUtf8();
  const int rc = sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()),
                                   SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) connection_.fail(rc, "bind");
}

void Statement::bind(int index, qint64 value) {
  const int rc = sqlite3_bind_int64(stmt_, index, value);
  if (rc != SQLITE_OK) connection_.fail(rc, "bind");
}

bool Statement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  connection_.fail(rc, "step");
}

void Statement::run() {
  while (step()) {
  }
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

QString Statement::text(int column) const {
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (data == nullptr) return {};
  return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

qint64 Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

int Statement::column_count() const { return sqlite3_column_count(stmt_); }

QString quoted(const QString& identifier) {
  QString inner = identifier;
  inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + inner + QLatin1Char('"');
}

}  // namespace tavuro::store::detail
