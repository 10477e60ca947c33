#include "cashier/display_line.h"

#include "textlayout/text_layout.h"

namespace tavuro::cashier {

using textlayout::kLeft;
using textlayout::kRight;
using textlayout::pad_text;

namespace {

const QString kGap = QStringLiteral("    ");

}  // namespace

QString display_line(const QString& sequence, const LineFields& fields) {
  QString goods = fields.goods;
  QString quantity = fields.quantity;
  QString price = fields.price;
  QString amount = fields.amount;
  QString op = fields.op;
  return QStringLiteral("  ") + sequence + kGap + pad_text(goods, kRight, 16) + kGap + pad_text(quantity, kLeft, 8) +
         kGap + pad_text(price, kLeft, 8) + kGap + pad_text(amount, kLeft, 10) + kGap + pad_text(op, kRight, 6) +
         kGap + textlayout::trim_spaces(fields.time);
}

QString receipt_sequence(int count) { return QStringLiteral("%1").arg(count, 4, 10, QLatin1Char('0')); }

QString day_sequence(int number) { return QStringLiteral("%1").arg(number, 4, 10, QLatin1Char(' ')); }

int next_day_sequence(const QString& lastLine) {
  // The number starts after the two leading spaces; a longer number runs on past the
  // four columns until the gap behind it.
  const QString rest = lastLine.mid(2);
  qsizetype end = 0;
  while (end < rest.size() && rest[end] == QLatin1Char(' ')) ++end;
  while (end < rest.size() && rest[end].isDigit()) ++end;
  return rest.left(end).trimmed().toInt() + 1;
}

QString goods_of_line(const QString& line) {
  const QString rest = line.mid(10);
  const qsizetype gap = rest.indexOf(kGap);
  return gap < 0 ? rest : rest.left(gap);
}

QString time_of_line(const QString& line) { return textlayout::trim_spaces(line.right(8)); }

}  // namespace tavuro::cashier
