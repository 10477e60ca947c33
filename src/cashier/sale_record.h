#pragma once
// Writing one sale line into today's day file: the record with its entry in the journal of
// changes, the backup copy beside it, and the recovery of a damaged day file from that
// backup.

#include "sales/display_line.h"
#include "startup/app_state.h"
#include "store/record_ref.h"

#include <QString>
#include <optional>

namespace tavuro::cashier {

// The texts of one sale line as they are stored.
struct SaleRecord {
  sales::SaleColumns columns;  // goods, quantity, unit price, amount, operator, time
  QString customer;            // empty or blank: the walk-in customer
  QString receipt;             // six digits
};

// Adds the line to today's day file with its journal entry, then copies the file over its
// backup. A damaged day file is restored from the backup and the line written once more
// (then without a new backup copy). Returns the record written, or nullopt when the line
// is not in the day file: the recovery gave up (after its messages), the day file is
// missing or the store refused the line ("数据出错！[save_line]"), or the journal could not
// take it (the journal's message).
std::optional<store::RecordRef> save_line(const startup::Paths& paths, const SaleRecord& line);

}  // namespace tavuro::cashier
