#include "sales/labels.h"

#include "textlayout/text_layout.h"

namespace tavuro::sales {

QString count_label(int count) {
  return QStringLiteral("记录数：") + QString::number(count);
}

QString total_label(float total) {
  return QStringLiteral("合计金额：") + textlayout::money_of(total) + QStringLiteral("元");
}

}  // namespace tavuro::sales
