#include "sales/display_line.h"

#include "sales/sale_line.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

namespace tavuro::sales {

namespace {

QString right_aligned(QString text, int width) {
  return textlayout::pad_text(text, textlayout::kLeft, width);
}
QString left_aligned(QString text, int width) {
  return textlayout::pad_text(text, textlayout::kRight, width);
}

}  // namespace

QString display_line(int number, const SaleColumns& columns) {
  // A number is never too wide to be shown: five digits push the line one column on
  // instead of raising a message for every line past 9999.
  const QString digits = QString::number(number);
  const QString number_text = digits.size() > kNumberWidth ? digits : right_aligned(digits, kNumberWidth);
  return QString(kLineMarginWidth, QLatin1Char(' ')) + number_text + kColumnGap +
         left_aligned(columns.goods, kGoodsWidth) + kColumnGap + right_aligned(columns.quantity, kQuantityWidth) +
         kColumnGap + right_aligned(columns.price, kPriceWidth) + kColumnGap +
         right_aligned(columns.amount, kAmountWidth) + kColumnGap + left_aligned(columns.op, kOperatorWidth) +
         kColumnGap + columns.time;
}

const QStringList& display_fields() {
  static const QStringList fields{store::day::kGoods,  store::day::kQuantity, store::day::kPrice,
                                  store::day::kAmount, store::day::kOperator, store::day::kTime};
  return fields;
}

SaleColumns sale_columns(const store::Record& record) {
  return {record.value(store::day::kGoods),  record.value(store::day::kQuantity), record.value(store::day::kPrice),
          record.value(store::day::kAmount), record.value(store::day::kOperator), record.value(store::day::kTime)};
}

}  // namespace tavuro::sales
