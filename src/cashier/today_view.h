#pragma once
// Today's list as data: the lines of the view shown with the record behind each, their
// count and total, which view that is, and today's total, which every recorded sale adds
// to. The list on screen is made from it; the number of the next sale and the record of a
// chosen line come from here, not from the list's text.

#include "cashier/day_records.h"
#include "sales/display_line.h"

#include <QStringList>
#include <optional>

namespace tavuro::cashier {

class TodayView {
 public:
  enum class Kind { All, Filtered, Receipt };

  // Shows a view read from the day file. The full view's total becomes today's total;
  // the other views leave it.
  void show(Kind kind, const DayView& view);

  // A recorded sale joins whatever view is shown as its next line, and its amount joins
  // the view's total and today's total. Returns the line's number.
  int add_sale(const sales::SaleColumns& columns, const store::RecordRef& record);

  // The lines of a view are numbered 1, 2, 3 … in reading order.
  int next_number() const { return count() + 1; }

  Kind kind() const { return kind_; }
  const QStringList& lines() const { return lines_; }
  // The record behind the line at row; nullopt for no such line.
  std::optional<store::RecordRef> record_at(int row) const;
  int count() const { return static_cast<int>(lines_.size()); }
  sales::Money total() const { return total_; }
  sales::Money today_total() const { return today_total_; }

 private:
  Kind kind_ = Kind::All;
  QStringList lines_;
  std::vector<store::RecordRef> records_;
  sales::Money total_;
  sales::Money today_total_;
};

}  // namespace tavuro::cashier
