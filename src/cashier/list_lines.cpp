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

int next_day_sequence(const QString& lastLine) {
  // The number starts after the margin; a number of five digits runs on past its column
  // up to the gap behind it.
  const QString rest = lastLine.mid(sales::kLineMarginWidth);
  qsizetype end = 0;
  while (end < rest.size() && rest[end] == QLatin1Char(' ')) ++end;
  while (end < rest.size() && rest[end] >= QLatin1Char('0') && rest[end] <= QLatin1Char('9')) ++end;
  return rest.left(end).trimmed().toInt() + 1;
}

QString goods_of_line(const QString& line) {
  const QString rest = line.mid(sales::kGoodsColumnStart);
  const qsizetype gap = rest.indexOf(sales::kColumnGap);
  return gap < 0 ? rest : rest.left(gap);
}

QString time_of_line(const QString& line) { return textlayout::trim_spaces(line.right(8)); }

}  // namespace tavuro::cashier
