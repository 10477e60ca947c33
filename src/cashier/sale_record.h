#pragma once
// Writing one sale line into today's day file: the record, the backup copy beside it, and
// the recovery of a damaged day file from that backup.

#include "sales/display_line.h"
#include "startup/app_state.h"

#include <QString>

namespace tavuro::cashier {

// The texts of one sale line as they are stored.
struct SaleRecord {
  sales::SaleColumns columns;  // goods, quantity, unit price, amount, operator, time
  QString customer;            // empty or blank: the walk-in customer
  QString receipt;             // six digits
};

// Adds the line to today's day file and copies the file over its backup. A damaged day
// file is restored from the backup and the line written once more (then without a new
// backup copy). Returns false when the line is not in the day file: the recovery gave up
// (after its messages), the day file is missing, or the store refused the line (then
// "数据出错！[save_line]" is shown).
bool save_line(const startup::Paths& paths, const SaleRecord& line);

}  // namespace tavuro::cashier
