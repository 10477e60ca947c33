#pragma once
// One sale line as the lists of the program show it: running number, goods, quantity,
// unit price, amount, operator and time in fixed-width columns.

#include "store/data_file.h"

#include <QString>
#include <QStringList>

namespace tavuro::query {

struct SaleColumns {
  QString goods;
  QString quantity;
  QString price;
  QString amount;
  QString op;
  QString time;
};

// Two spaces, the number right-aligned in 4, then goods (16, left), quantity (8, right),
// price (8, right), amount (10, right) and operator (6, left), four spaces between the
// columns, and the time as stored. A value wider than its column shows the add_not
// message and leaves the column empty; a number beyond 9999 takes the room it needs.
QString display_line(int number, const SaleColumns& columns);

// The day-file fields a display line is built from.
const QStringList& display_fields();
// The columns of a record read with (at least) display_fields().
SaleColumns sale_columns(const store::Record& record);

}  // namespace tavuro::query
