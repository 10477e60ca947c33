#pragma once
// Sale lines as every export writes them: one row per line with 日期 (the day of its day
// file), 商品, 数量, 单价, 金额, 操作编号, 时间, 固定客户, 单号, and at the end a totals
// row with the exact sum of the amounts.

#include "exports/table_writer.h"
#include "store/data_file.h"

#include <QDate>

namespace tavuro::exports {

// The sheet's columns, in that order.
const std::vector<Column>& sale_line_columns();

// The day a day file holds, from its folder (year_month) and name (day.day): 2026_12/8.day
// is 8 December 2026. Invalid when the names give no date.
QDate day_of_file(const QString& day_file);

// One sale line's row. A quantity, price or amount that is no number stays its stored
// text; a day file outside a month folder gives its folder and name instead of a date.
// Throws StoreError (WrongSchema) for a record read without a day-file field.
Row sale_row(const Cell& day, const store::Record& record);

// Told now and then how far an export has come; returns false to stop it.
using ExportProgress = std::function<bool(qint64 done, qint64 total)>;

// Streams sale lines into a writer: the header at the start, the totals row at finish().
class SaleLineSheet {
 public:
  SaleLineSheet(TableWriter& writer, const QString& sheet_name);

  // The day of the lines that follow, from the day file they come from.
  void set_day_file(const QString& day_file);
  void add(const store::Record& record);
  // The totals row: 合计, the number of lines under 商品, the sum of the amounts.
  void finish();

  qint64 count() const { return count_; }
  sales::Money total() const { return total_; }

 private:
  TableWriter& writer_;
  Cell day_;
  qint64 count_ = 0;
  sales::Money total_;
};

// The text of the totals row's count, e.g. "共 12 行".
QString line_count_text(qint64 count);

}  // namespace tavuro::exports
