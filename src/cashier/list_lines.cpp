#include "cashier/list_lines.h"

#include "sales/sale_line.h"
#include "textlayout/text_layout.h"

namespace tavuro::cashier {

QString receipt_line(int count, const sales::SaleColumns& columns) {
  // The running number stands in its column after the margin.
  return sales::display_line(count, columns)
      .replace(sales::kLineMarginWidth, sales::kNumberWidth,
               QStringLiteral("%1").arg(count, sales::kNumberWidth, 10, QLatin1Char('0')));
}

QString goods_of_line(const QString& line) {
  const QString rest = line.mid(sales::kGoodsColumnStart);
  const qsizetype gap = rest.indexOf(sales::kColumnGap);
  return gap < 0 ? rest : rest.left(gap);
}

QString time_of_line(const QString& line) { return textlayout::trim_spaces(line.right(8)); }

}  // namespace tavuro::cashier
