#include "headoffice/pg_connection.h"

#include <libpq-fe.h>

namespace tavuro::headoffice {

namespace {

QString error_text(const pg_conn* conn, const pg_result* result) {
  const char* message = result != nullptr ? PQresultErrorMessage(result) : nullptr;
  if (message == nullptr || *message == '\0') message = PQerrorMessage(conn);
  return QString::fromUtf8(message).trimmed();
}

struct ResultOwner {
  pg_result* result;
  ~ResultOwner() { PQclear(result); }
};

}  // namespace

PgConnection PgConnection::open(const QString& settings) {
  const QByteArray dbname = settings.trimmed().toUtf8();
  const QByteArray timeout = QByteArray::number(kConnectTimeoutSeconds);
  // The settings come first so that the timeout and the encoding cannot be lifted by them.
  const char* const keywords[] = {"dbname", "connect_timeout", "client_encoding", "application_name", nullptr};
  const char* const values[] = {dbname.constData(), timeout.constData(), "UTF8", "tavuro", nullptr};
  pg_conn* conn = PQconnectdbParams(keywords, values, 1);
  if (conn == nullptr) throw ServerError(ServerError::Kind::Unreachable, QStringLiteral("out of memory"));
  if (PQstatus(conn) != CONNECTION_OK) {
    const QString detail = error_text(conn, nullptr);
    PQfinish(conn);
    throw ServerError(ServerError::Kind::Unreachable, detail);
  }
  PgConnection connection(conn);
  connection.exec(QStringLiteral("SET client_min_messages = warning"));
  return connection;
}

PgConnection::PgConnection(PgConnection&& other) noexcept : conn_(other.conn_) { other.conn_ = nullptr; }

PgConnection& PgConnection::operator=(PgConnection&& other) noexcept {
  if (this != &other) {
    if (conn_ != nullptr) PQfinish(conn_);
    conn_ = other.conn_;
    other.conn_ = nullptr;
  }
  return *this;
}

PgConnection::~PgConnection() {
  if (conn_ != nullptr) PQfinish(conn_);
}

void PgConnection::fail(pg_result* result, const QString& during) {
  const QString detail = during + QStringLiteral(": ") + error_text(conn_, result);
  const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const bool refused = state != nullptr && qstrcmp(state, kChainRefusedState) == 0;
  const bool lost = PQstatus(conn_) != CONNECTION_OK;
  const QString message = refused && result != nullptr
                              ? QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY))
                              : detail;
  PQclear(result);
  throw ServerError(refused ? ServerError::Kind::Refused
                    : lost  ? ServerError::Kind::Unreachable
                            : ServerError::Kind::Failed,
                    message);
}

PgRows PgConnection::exec(const QString& sql, const std::vector<std::optional<QString>>& params) {
  const QByteArray text = sql.toUtf8();
  std::vector<QByteArray> bytes;
  bytes.reserve(params.size());
  std::vector<const char*> pointers;
  for (const std::optional<QString>& param : params) {
    bytes.push_back(param ? param->toUtf8() : QByteArray());
    pointers.push_back(param ? bytes.back().constData() : nullptr);
  }
  // Without parameters a text may hold several statements (the schema's).
  pg_result* result = params.empty() ? PQexec(conn_, text.constData())
                                     : PQexecParams(conn_, text.constData(), static_cast<int>(params.size()), nullptr,
                                                    pointers.data(), nullptr, nullptr, 0);
  const ExecStatusType status = result != nullptr ? PQresultStatus(result) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail(result, sql.left(60));
  const ResultOwner owner{result};
  PgRows rows;
  const int count = PQntuples(result);
  const int columns = PQnfields(result);
  rows.rows_.resize(static_cast<size_t>(count));
  for (int r = 0; r < count; ++r) {
    auto& row = rows.rows_[static_cast<size_t>(r)];
    row.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
      if (PQgetisnull(result, r, c)) {
        row.emplace_back(std::nullopt);
      } else {
        row.emplace_back(QString::fromUtf8(PQgetvalue(result, r, c), PQgetlength(result, r, c)));
      }
    }
  }
  return rows;
}

void PgConnection::copy_in(const QString& copy_sql, const QByteArray& data) {
  pg_result* start = PQexec(conn_, copy_sql.toUtf8().constData());
  if (start == nullptr || PQresultStatus(start) != PGRES_COPY_IN) fail(start, copy_sql.left(60));
  PQclear(start);
  if (PQputCopyData(conn_, data.constData(), static_cast<int>(data.size())) != 1 || PQputCopyEnd(conn_, nullptr) != 1) {
    fail(nullptr, copy_sql.left(60));
  }
  pg_result* end = PQgetResult(conn_);
  if (end == nullptr || PQresultStatus(end) != PGRES_COMMAND_OK) fail(end, copy_sql.left(60));
  PQclear(end);
  // The end of a COPY is followed by one empty result.
  while (pg_result* rest = PQgetResult(conn_)) PQclear(rest);
}

void PgConnection::roll_back() noexcept {
  if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK) return;
  PQclear(PQexec(conn_, "ROLLBACK"));
}

QByteArray copy_row(const std::vector<std::optional<QString>>& values) {
  QByteArray row;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) row += '\t';
    if (!values[i]) {
      row += "\\N";
      continue;
    }
    for (const char c : values[i]->toUtf8()) {
      switch (c) {
        case '\\': row += "\\\\"; break;
        case '\t': row += "\\t"; break;
        case '\n': row += "\\n"; break;
        case '\r': row += "\\r"; break;
        default: row += c;
      }
    }
  }
  row += '\n';
  return row;
}

QString text_array(const QStringList& values) {
  QString literal = QStringLiteral("{");
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (i > 0) literal += QLatin1Char(',');
    QString value = values[i];
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    literal += QLatin1Char('"') + value + QLatin1Char('"');
  }
  return literal + QLatin1Char('}');
}

}  // namespace tavuro::headoffice
