#pragma once
// The sale line as every list, receipt, report and check of the program shares it: the
// display widths of its columns, and the customer booked when none is named. A width is
// also the input limit of its field: a text is taken only when it fits its column.

#include <QString>

namespace tavuro::sales {

inline constexpr int kNumberWidth = 4;      // the running number, right-aligned
inline constexpr int kGoodsWidth = 16;      // goods name, left-aligned
inline constexpr int kQuantityWidth = 8;    // right-aligned
inline constexpr int kPriceWidth = 8;       // unit price, right-aligned
inline constexpr int kAmountWidth = 10;     // amount and every total, right-aligned
inline constexpr int kOperatorWidth = 6;    // operator name or number, left-aligned
inline constexpr int kGapWidth = 4;         // spaces between two columns
inline constexpr int kLineMarginWidth = 2;  // spaces in front of a list line

inline const QString kColumnGap(kGapWidth, QLatin1Char(' '));

// Where the goods column of a list line starts: after the margin, the number and a gap.
inline constexpr int kGoodsColumnStart = kLineMarginWidth + kNumberWidth + kGapWidth;

// The walk-in customer booked when no regular customer is named.
inline const QString kWalkInCustomer = QStringLiteral("散客");

}  // namespace tavuro::sales
