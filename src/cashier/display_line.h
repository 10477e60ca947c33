#pragma once
// The fixed-width text of one sale line, as the cashier's lists show it and the receipt
// prints it: sequence number, goods, quantity, unit price, amount, operator and time in
// columns separated by four spaces.

#include <QString>

namespace tavuro::cashier {

// The field texts of one sale line (trimmed before they are padded).
struct LineFields {
  QString goods;
  QString quantity;
  QString price;
  QString amount;
  QString op;
  QString time;
};

// "  " + sequence + "    " + goods (left-aligned, 16) + "    " + quantity (right-aligned, 8)
// + "    " + price (right-aligned, 8) + "    " + amount (right-aligned, 10) + "    "
// + operator (left-aligned, 6) + "    " + time (unpadded). A field wider than its column
// is reported by pad_text and left empty.
QString display_line(const QString& sequence, const LineFields& fields);

// The sequence number of a line of the current receipt: four digits, zero-padded (0001).
QString receipt_sequence(int count);

// The sequence number of a line of today's list: right-aligned in four columns (   1);
// a number of five or more digits is shown whole.
QString day_sequence(int number);

// The number after a line of today's list: the number at its start plus one; 1 when the
// line carries none.
int next_day_sequence(const QString& lastLine);

// The goods name of a display line: the text after its first 10 characters up to the
// first run of four spaces.
QString goods_of_line(const QString& line);

// The recorded time of a display line: its last 8 characters, trimmed.
QString time_of_line(const QString& line);

}  // namespace tavuro::cashier
