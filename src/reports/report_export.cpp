#include "reports/report_export.h"

namespace tavuro::reports {

namespace {

using exports::Column;
using exports::ColumnKind;

const QString kTotal = QStringLiteral("合计");

exports::Sheet goods_sheet(const QString& name, const std::vector<GoodsRow>& rows) {
  exports::Sheet sheet{name,
                       {{QStringLiteral("序号"), ColumnKind::Whole, 6},
                        {QStringLiteral("商品"), ColumnKind::Text, 20},
                        {QStringLiteral("数量"), ColumnKind::Amount, 12},
                        {QStringLiteral("金额"), ColumnKind::Amount, 14}},
                       {},
                       {}};
  sales::Money total;
  qint64 number = 0;
  for (const GoodsRow& row : rows) {
    sheet.rows.push_back({++number, row.name, row.quantity, row.amount});
    total = total.added(row.amount);
  }
  sheet.totals = {kTotal, {}, {}, total};
  return sheet;
}

exports::Sheet operator_sheet(const QString& name, const std::vector<OperatorRow>& rows) {
  exports::Sheet sheet{name,
                       {{QStringLiteral("序号"), ColumnKind::Whole, 6},
                        {QStringLiteral("操作员姓名/编号"), ColumnKind::Text, 18},
                        {QStringLiteral("个人销售金额"), ColumnKind::Amount, 14}},
                       {},
                       {}};
  sales::Money total;
  qint64 number = 0;
  for (const OperatorRow& row : rows) {
    sheet.rows.push_back({++number, row.name, row.amount});
    total = total.added(row.amount);
  }
  sheet.totals = {kTotal, {}, total};
  return sheet;
}

}  // namespace

exports::Workbook report_workbook(const std::vector<TitledTables>& reports) {
  exports::Workbook workbook;
  const bool one = reports.size() == 1;
  for (const TitledTables& report : reports) {
    workbook.sheets.push_back(
        goods_sheet(one ? QStringLiteral("商品销售明细") : report.stem + QStringLiteral(" 商品"), report.tables.goods));
    workbook.sheets.push_back(operator_sheet(one ? QStringLiteral("个人销售明细") : report.stem + QStringLiteral(" 操作员"),
                                             report.tables.operators));
  }
  return workbook;
}

}  // namespace tavuro::reports
