#include "headoffice/server_queries.h"

#include "store/schemas.h"

namespace tavuro::headoffice {

namespace {

const QString kValueColumns =
    QStringLiteral("goods, quantity, price, amount, operator, time, code, customer, receipt_no");

// The server's column of a day-file field; empty for one that cannot be filtered.
QString column_of(const QString& field) {
  if (field == store::day::kGoods) return QStringLiteral("goods");
  if (field == store::day::kOperator) return QStringLiteral("operator");
  if (field == store::day::kCustomer) return QStringLiteral("customer");
  if (field == store::day::kReceiptNo) return QStringLiteral("receipt_no");
  if (field == store::day::kQuantity) return QStringLiteral("quantity");
  if (field == store::day::kPrice) return QStringLiteral("price");
  if (field == store::day::kAmount) return QStringLiteral("amount");
  if (field == store::day::kTime) return QStringLiteral("time");
  return {};
}

}  // namespace

QStringList server_tills(PgConnection& server) {
  const PgRows rows = server.exec(QStringLiteral("SELECT till FROM tavuro_tills ORDER BY till"));
  QStringList tills;
  for (int r = 0; r < rows.count(); ++r) tills << rows.text(r, 0);
  return tills;
}

QStringList server_day_files(PgConnection& server, const QString& month, const QString& till) {
  const PgRows rows = server.exec(
      QStringLiteral("SELECT file FROM tavuro_sale_lines WHERE month = $1 AND ($2 = '' OR till = $2) "
                     "GROUP BY file ORDER BY file COLLATE \"C\""),
      {month, till});
  QStringList files;
  for (int r = 0; r < rows.count(); ++r) files << rows.text(r, 0);
  return files;
}

std::vector<ServerLine> server_sale_lines(PgConnection& server, const ServerScope& scope,
                                          const std::vector<ServerFilter>& filters, int limit) {
  QString sql = QStringLiteral("SELECT till, file, record, ") + kValueColumns +
                QStringLiteral(", amount_fen IS NOT NULL AND btrim(amount, ' ') <> '' FROM tavuro_sale_lines "
                               "WHERE month = $1 AND file = ANY($2::text[]) AND ($3 = '' OR till = $3)");
  std::vector<std::optional<QString>> params{scope.month, text_array(scope.files), scope.till};
  for (const ServerFilter& filter : filters) {
    const QString column = column_of(filter.field);
    if (column.isEmpty()) throw ServerError(ServerError::Kind::Failed, QStringLiteral("no such field: ") + filter.field);
    params.emplace_back(filter.value);
    sql += QStringLiteral(" AND %1 = $%2").arg(column).arg(params.size());
  }
  params.emplace_back(QString::number(limit));
  sql += QStringLiteral(" ORDER BY till COLLATE \"C\", array_position($2::text[], file), record LIMIT $%1").arg(params.size());
  const PgRows rows = server.exec(sql, params);
  std::vector<ServerLine> lines;
  lines.reserve(static_cast<size_t>(rows.count()));
  for (int r = 0; r < rows.count(); ++r) {
    ServerLine line{rows.text(r, 0), rows.text(r, 1), rows.integer(r, 2), {}, rows.text(r, 12) == QStringLiteral("t")};
    for (int c = 3; c < 12; ++c) line.values << rows.text(r, c);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<ServerSum> server_report_sums(PgConnection& server, const ServerScope& scope, const QStringList& goods,
                                          const QStringList& operators) {
  // Each table is summed per till, file and name in one pass; the names asked for are
  // picked from the sums, not from every line.
  static const QString sql = QStringLiteral(R"sql(
WITH per_goods AS (
  SELECT till, file, btrim(goods, ' ') AS name, sum(quantity_fen) AS q, sum(amount_fen) AS a,
         bool_or(quantity_fen IS NULL OR amount_fen IS NULL) AS bad
  FROM tavuro_sale_lines
  WHERE month = $1 AND file = ANY($2::text[]) AND ($3 = '' OR till = $3)
  GROUP BY till, file, btrim(goods, ' ')
), per_operator AS (
  SELECT till, file, btrim(operator, ' ') AS name, sum(amount_fen) AS a, bool_or(amount_fen IS NULL) AS bad
  FROM tavuro_sale_lines
  WHERE month = $1 AND file = ANY($2::text[]) AND ($3 = '' OR till = $3)
  GROUP BY till, file, btrim(operator, ' ')
), failed AS (
  SELECT till, file FROM per_goods WHERE bad AND name = ANY($4::text[])
  UNION
  SELECT till, file FROM per_operator WHERE bad AND name = ANY($5::text[])
)
SELECT file, 'g', name, sum(q)::bigint, sum(a)::bigint FROM per_goods p
  WHERE name = ANY($4::text[]) AND NOT EXISTS (SELECT 1 FROM failed f WHERE f.till = p.till AND f.file = p.file)
  GROUP BY file, name
UNION ALL
SELECT file, 'o', name, 0, sum(a)::bigint FROM per_operator p
  WHERE name = ANY($5::text[]) AND NOT EXISTS (SELECT 1 FROM failed f WHERE f.till = p.till AND f.file = p.file)
  GROUP BY file, name
UNION ALL
SELECT DISTINCT file, 'f', '', 0, 0 FROM per_goods p
  WHERE NOT EXISTS (SELECT 1 FROM failed f WHERE f.till = p.till AND f.file = p.file)
)sql");
  const PgRows rows = server.exec(sql, {scope.month, text_array(scope.files), scope.till, text_array(goods),
                                        text_array(operators)});
  std::vector<ServerSum> sums;
  sums.reserve(static_cast<size_t>(rows.count()));
  for (int r = 0; r < rows.count(); ++r) {
    const QString kind = rows.text(r, 1);
    sums.push_back({rows.text(r, 0),
                    kind == QStringLiteral("g")   ? ServerSum::Kind::Goods
                    : kind == QStringLiteral("o") ? ServerSum::Kind::Operator
                                                  : ServerSum::Kind::File,
                    rows.text(r, 2), rows.integer(r, 3), rows.integer(r, 4)});
  }
  return sums;
}

QString server_failure_message(const ServerError& error) {
  if (error.kind() == ServerError::Kind::Unreachable) {
    return QStringLiteral("连接不上总店服务器，请检查网络和 server.dat 的设置；本机的数据仍可查询。\n") + error.detail();
  }
  return QStringLiteral("总店服务器出错，这次没有结果；本机的数据仍可查询。\n") + error.detail();
}

}  // namespace tavuro::headoffice
