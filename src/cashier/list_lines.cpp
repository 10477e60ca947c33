#include "cashier/list_lines.h"

#include "textlayout/text_layout.h"

namespace tavuro::cashier {

QString receipt_line(int count, const query::SaleColumns& columns) {
  // The running number stands in the four columns after the two leading spaces.
  return query::display_line(count, columns).replace(2, 4, QStringLiteral("%1").arg(count, 4, 10, QLatin1Char('0')));
}

int next_day_sequence(const QString& lastLine) {
  // The number starts after the two leading spaces; a number of five digits runs on past
  // its four columns up to the gap behind it.
  const QString rest = lastLine.mid(2);
  qsizetype end = 0;
  while (end < rest.size() && rest[end] == QLatin1Char(' ')) ++end;
  while (end < rest.size() && rest[end] >= QLatin1Char('0') && rest[end] <= QLatin1Char('9')) ++end;
  return rest.left(end).trimmed().toInt() + 1;
}

QString goods_of_line(const QString& line) {
  const QString rest = line.mid(10);
  const qsizetype gap = rest.indexOf(QStringLiteral("    "));
  return gap < 0 ? rest : rest.left(gap);
}

QString time_of_line(const QString& line) { return textlayout::trim_spaces(line.right(8)); }

}  // namespace tavuro::cashier
