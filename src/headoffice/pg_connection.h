#pragma once
// A connection to the head-office PostgreSQL server over libpq: statements with text
// parameters, COPY of rows in, and transactions. libpq-fe.h stays out of this header.

#include "headoffice/server_error.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace tavuro::headoffice {

// How long a connection attempt may take before the server counts as unreachable.
inline constexpr int kConnectTimeoutSeconds = 3;

// The rows a statement returned, as text; a NULL reads as nullopt.
class PgRows {
 public:
  int count() const { return static_cast<int>(rows_.size()); }
  const std::optional<QString>& at(int row, int column) const { return rows_[row][column]; }
  // The text of a field, empty for NULL.
  QString text(int row, int column) const { return rows_[row][column].value_or(QString()); }
  qint64 integer(int row, int column) const { return text(row, column).toLongLong(); }

  std::vector<std::vector<std::optional<QString>>> rows_;
};

class PgConnection {
 public:
  // Connects with settings: a libpq connection string ("host=… dbname=…") or a
  // postgresql:// URI. Gives up after kConnectTimeoutSeconds. Throws Unreachable.
  static PgConnection open(const QString& settings);

  PgConnection(PgConnection&&) noexcept;
  PgConnection& operator=(PgConnection&&) noexcept;
  ~PgConnection();

  // Runs sql with $1, $2 … bound to params (text; nullopt is NULL) and returns its rows.
  // Throws ServerError: Unreachable when the connection is gone, Refused for the chain
  // check's refusal, Failed otherwise.
  PgRows exec(const QString& sql, const std::vector<std::optional<QString>>& params = {});
  // Runs "COPY … FROM STDIN" with rows already in COPY's text form (copy_row).
  void copy_in(const QString& copy_sql, const QByteArray& data);

  // Runs work between BEGIN and COMMIT; rolls back when it throws.
  template <typename Work>
  void transaction(Work&& work) {
    exec(QStringLiteral("BEGIN"));
    try {
      work();
    } catch (...) {
      roll_back();
      throw;
    }
    exec(QStringLiteral("COMMIT"));
  }

 private:
  explicit PgConnection(pg_conn* conn) : conn_(conn) {}
  void roll_back() noexcept;
  [[noreturn]] void fail(pg_result* result, const QString& during);

  pg_conn* conn_ = nullptr;
};

// One row in COPY's text form: the values separated by tabs, \N for NULL, backslash, tab,
// line feed and carriage return escaped, the row ended by a line feed.
QByteArray copy_row(const std::vector<std::optional<QString>>& values);

// A PostgreSQL array literal of texts: {"a","b"} with quotes and backslashes escaped.
QString text_array(const QStringList& values);

// The SQLSTATE by which the server's chain check refuses an entry.
inline constexpr const char* kChainRefusedState = "TV001";

}  // namespace tavuro::headoffice
