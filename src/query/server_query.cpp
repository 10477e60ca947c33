#include "query/server_query.h"

#include "sales/display_line.h"
#include "sales/labels.h"
#include "store/schemas.h"

#include <QSet>

namespace tavuro::query {

namespace {

QueryResult run(headoffice::PgConnection& server, const headoffice::ServerScope& scope,
                const std::vector<headoffice::ServerFilter>& wanted, int line_limit) {
  // One line more than the list holds tells that there are more.
  const std::vector<headoffice::ServerLine> lines = headoffice::server_sale_lines(server, scope, wanted, line_limit + 1);
  QueryResult result;
  QSet<QString> ended;
  for (const headoffice::ServerLine& line : lines) {
    const QString name = line.till + QStringLiteral("：") + line.file;
    if (ended.contains(name)) continue;
    if (!line.amount_is_number) {
      ended.insert(name);
      result.skipped_files << name;
      continue;
    }
    if (result.count() >= line_limit) {
      result.truncated = true;
      break;
    }
    const sales::SaleColumns columns{line.values[0], line.values[1], line.values[2],
                                     line.values[3], line.values[4], line.values[5]};
    result.total = result.total.added(sales::amount_or_zero(columns.amount));
    result.lines << sales::display_line(result.count() + 1, columns);
    result.records.push_back({line.till + QStringLiteral("：") + scope.month + QLatin1Char('/') + line.file, line.record,
                              line.values});
  }
  return result;
}

}  // namespace

QueryResult query_server(headoffice::PgConnection& server, const headoffice::ServerScope& scope,
                         const QList<QueryFilter>& filters, int line_limit) {
  std::vector<headoffice::ServerFilter> wanted;
  for (const QueryFilter& filter : filters) {
    if (filter.value != sales::kAllEntry) wanted.push_back({filter.field, filter.value});
  }
  return run(server, scope, wanted, line_limit);
}

QueryResult query_server_receipt(headoffice::PgConnection& server, const headoffice::ServerScope& scope,
                                 const QString& receipt_no, int line_limit) {
  return run(server, scope, {{store::day::kReceiptNo, receipt_no}}, line_limit);
}

}  // namespace tavuro::query
