#include "query/server_query.h"

#include "sales/display_line.h"
#include "sales/labels.h"
#include "store/schemas.h"

#include <QSet>

namespace tavuro::query {

namespace {

QueryResult run(headoffice::PgConnection& server, const headoffice::ServerScope& scope,
                const std::vector<headoffice::ServerFilter>& wanted, int lineLimit) {
  // One line more than the list holds tells that there are more.
  const std::vector<headoffice::ServerLine> lines = headoffice::server_sale_lines(server, scope, wanted, lineLimit + 1);
  QueryResult result;
  QSet<QString> ended;
  for (const headoffice::ServerLine& line : lines) {
    const QString name = line.till + QStringLiteral("：") + line.file;
    if (ended.contains(name)) continue;
    if (!line.amountIsNumber) {
      ended.insert(name);
      result.skippedFiles << name;
      continue;
    }
    if (result.count() >= lineLimit) {
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
                         const QList<QueryFilter>& filters, int lineLimit) {
  std::vector<headoffice::ServerFilter> wanted;
  for (const QueryFilter& filter : filters) {
    if (filter.value != sales::kAllEntry) wanted.push_back({filter.field, filter.value});
  }
  return run(server, scope, wanted, lineLimit);
}

QueryResult query_server_receipt(headoffice::PgConnection& server, const headoffice::ServerScope& scope,
                                 const QString& receiptNo, int lineLimit) {
  return run(server, scope, {{store::day::kReceiptNo, receiptNo}}, lineLimit);
}

}  // namespace tavuro::query
