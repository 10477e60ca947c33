#include "cashier/day_records.h"

#include "sales/display_line.h"
#include "sales/labels.h"
#include "store/schemas.h"

#include <functional>

namespace tavuro::cashier {

namespace day = store::day;

namespace {

DayView collect(const QString& day_file, const std::function<bool(const store::Record&)>& take) {
  const store::DataFile file = store::DataFile::open(day_file, store::day_schema());
  DayView view;
  file.walk({}, [&](const store::Record& record) {
    view.has_records = true;
    if (!take(record)) return true;
    ++view.count;
    view.total = view.total.added(sales::amount_or_zero(record.value(day::kAmount)));
    view.lines << sales::display_line(view.count, sales::sale_columns(record));
    view.records.push_back(file.ref_to(record));
    return true;
  });
  return view;
}

}  // namespace

DayView all_day_lines(const QString& day_file) {
  return collect(day_file, [](const store::Record&) { return true; });
}

DayView filtered_day_lines(const QString& day_file, const QString& fieldA, const QString& valueA,
                           const QString& fieldB, const QString& valueB) {
  const bool all_a = valueA == sales::kAllEntry;
  const bool all_b = valueB == sales::kAllEntry;
  return collect(day_file, [&](const store::Record& record) {
    if (!all_a && !all_b) return record.value(fieldA) == valueA && record.value(fieldB) == valueB;
    if (all_a) return record.value(fieldB) == valueB;
    return record.value(fieldA) == valueA;
  });
}

DayView receipt_day_lines(const QString& day_file, const QString& receipt_no) {
  return collect(day_file, [&](const store::Record& record) { return record.value(day::kReceiptNo) == receipt_no; });
}

QString filtered_count_label(int count) { return QStringLiteral("记录总数：") + QString::number(count); }
QString all_view_label() { return QStringLiteral("操作编号 = *全部*"); }

}  // namespace tavuro::cashier
