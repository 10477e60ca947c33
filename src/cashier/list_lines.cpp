#include "cashier/list_lines.h"

#include "sales/sale_line.h"

namespace tavuro::cashier {

QString receipt_line(int count, const sales::SaleColumns& columns) {
  // The running number stands in its column after the margin.
  return sales::display_line(count, columns)
      .replace(sales::kLineMarginWidth, sales::kNumberWidth,
               QStringLiteral("%1").arg(count, sales::kNumberWidth, 10, QLatin1Char('0')));
}

}  // namespace tavuro::cashier
