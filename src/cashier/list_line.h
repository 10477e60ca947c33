#pragma once
// The record behind a line of the cashier's lists. A display line starts with ten
// characters of sequence number and spacing, then the goods name padded to its column and
// four spaces; it ends with the recorded time (hours:minutes:seconds, 8 characters).

#include <QString>

namespace tavuro::cashier {

// The text after the first 10 characters up to the first run of four spaces (or to the
// end of the line when there is none).
QString goods_of_line(const QString& line);

// The last 8 characters of the line, trimmed of spaces.
QString time_of_line(const QString& line);

}  // namespace tavuro::cashier
