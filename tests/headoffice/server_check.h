#pragma once
// What the head-office tests read back from the server: a till's sale lines as the till's
// day files hold them, their exact total, and its journal's entry numbers.

#include "headoffice/pg_connection.h"

#include <QStringList>
#include <map>
#include <utility>
#include <vector>

namespace tavuro::headoffice::test {

inline std::map<std::pair<QString, qint64>, QStringList> server_lines(PgConnection& server, const QString& till) {
  const PgRows rows = server.exec(
      QStringLiteral("SELECT file, record, goods, quantity, price, amount, operator, time, code, customer, receipt_no "
                     "FROM tavuro_sale_lines WHERE till = $1"),
      {till});
  std::map<std::pair<QString, qint64>, QStringList> lines;
  for (int r = 0; r < rows.count(); ++r) {
    QStringList values;
    for (int c = 2; c < 11; ++c) values << rows.text(r, c);
    lines[{rows.text(r, 0), rows.integer(r, 1)}] = values;
  }
  return lines;
}

inline qint64 server_total_fen(PgConnection& server, const QString& till) {
  return server.exec(QStringLiteral("SELECT coalesce(sum(amount_fen), 0) FROM tavuro_sale_lines WHERE till = $1"), {till})
      .integer(0, 0);
}

// The numbers of the till's entries on the server, in order.
inline std::vector<qint64> server_entry_numbers(PgConnection& server, const QString& till) {
  const PgRows rows = server.exec(
      QStringLiteral("SELECT number FROM tavuro_journal WHERE till = $1 ORDER BY month, number"), {till});
  std::vector<qint64> numbers;
  for (int r = 0; r < rows.count(); ++r) numbers.push_back(rows.integer(r, 0));
  return numbers;
}

inline std::vector<qint64> one_to(qint64 last) {
  std::vector<qint64> numbers;
  for (qint64 n = 1; n <= last; ++n) numbers.push_back(n);
  return numbers;
}

}  // namespace tavuro::headoffice::test
