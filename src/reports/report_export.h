#pragma once
// A sales report as tables to export: per report its goods table and its operator table,
// each a sheet (a section of a CSV) with its rows in catalogue order and the totals last.

#include "exports/table.h"
#include "reports/report_layout.h"

#include <QString>
#include <vector>

namespace tavuro::reports {

struct TitledTables {
  QString stem;  // the report's title stem (2003_5_7, 2003_5_[月结] …)
  ReportTables tables;
};

// One report gives the sheets 商品销售明细 and 个人销售明细; several reports (one per
// file) give two sheets each, named by their stems.
exports::Workbook report_workbook(const std::vector<TitledTables>& reports);

}  // namespace tavuro::reports
