#pragma once
// Views over today's day file: every line, the lines of one operator and/or goods name,
// the lines of one receipt. Each view numbers its lines 1, 2, 3 … in stored order, keeps
// the record behind each line, and sums their amounts exactly. Store errors are thrown.

#include "sales/money.h"
#include "store/data_file.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tavuro::cashier {

struct DayView {
  bool has_records = false;                // the table held any record at all
  QStringList lines;                      // display lines of the records taken
  std::vector<store::RecordRef> records;  // the record behind each line
  int count = 0;
  sales::Money total{};                   // an amount that is no number adds nothing
};

// Every record of the day file.
DayView all_day_lines(const QString& day_file);

// The records whose fieldA equals valueA and whose fieldB equals valueB; a value that is
// the all-entry "* 全部 *" puts no condition on its field.
DayView filtered_day_lines(const QString& day_file, const QString& fieldA, const QString& valueA,
                           const QString& fieldB, const QString& valueB);

// The records of one receipt number (exact comparison).
DayView receipt_day_lines(const QString& day_file, const QString& receipt_no);

// The label texts under today's list (beside the count and total labels of query).
QString filtered_count_label(int count);  // "记录总数：" + count
QString all_view_label();                 // "操作编号 = *全部*"

}  // namespace tavuro::cashier
