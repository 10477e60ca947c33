#pragma once
// The lines of the cashier's two lists. Both use the display line of a sale (running
// number, goods, quantity, unit price, amount, operator, time); the temporary record
// numbers its lines with zeros (0001), today's list with spaces (   1).

#include "sales/display_line.h"

#include <QString>

namespace tavuro::cashier {

// The line of the count-th line of the current receipt (count at most 9999).
QString receipt_line(int count, const sales::SaleColumns& columns);

}  // namespace tavuro::cashier
