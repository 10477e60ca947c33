#pragma once
// One sale line as the lists of the program show it: running number, goods, quantity,
// unit price, amount, operator and time in fixed-width columns.

#include "store/data_file.h"

#include <QString>
#include <QStringList>

namespace tavuro::sales {

struct SaleColumns {
  QString goods;
  QString quantity;
  QString price;
  QString amount;
  QString op;
  QString time;
};

// The margin, the number right-aligned, then goods (left), quantity, price and amount
// (right) and operator (left) in the widths of sale_line.h, a gap between the columns,
// and the time as stored. A value wider than its column shows the add_not message and
// leaves the column empty; a number too wide for its column takes the room it needs.
QString display_line(int number, const SaleColumns& columns);

// The day-file fields a display line is built from.
const QStringList& display_fields();
// The columns of a record read with (at least) display_fields().
SaleColumns sale_columns(const store::Record& record);

}  // namespace tavuro::sales
