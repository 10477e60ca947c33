#include "cashier/today_view.h"

namespace tavuro::cashier {

void TodayView::show(Kind kind, const DayView& view) {
  kind_ = kind;
  lines_ = view.lines;
  records_ = view.records;
  total_ = view.total;
  if (kind == Kind::All) today_total_ = view.total;
}

int TodayView::add_sale(const sales::SaleColumns& columns, const store::RecordRef& record) {
  const int number = next_number();
  lines_ << sales::display_line(number, columns);
  records_.push_back(record);
  const sales::Money amount = sales::amount_or_zero(columns.amount);
  total_ = total_.added(amount);
  today_total_ = today_total_.added(amount);
  return number;
}

std::optional<store::RecordRef> TodayView::record_at(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= records_.size()) return std::nullopt;
  return records_[static_cast<size_t>(row)];
}

}  // namespace tavuro::cashier
