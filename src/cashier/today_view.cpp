#include "cashier/today_view.h"

namespace tavuro::cashier {

void TodayView::show(Kind kind, const DayView& view) {
  kind_ = kind;
  lines_ = view.lines;
  total_ = view.total;
  if (kind == Kind::All) today_total_ = view.total;
}

int TodayView::add_sale(const sales::SaleColumns& columns, float amount) {
  const int number = next_number();
  lines_ << sales::display_line(number, columns);
  total_ += amount;
  today_total_ += amount;
  return number;
}

}  // namespace tavuro::cashier
