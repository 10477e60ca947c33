#include "sales/labels.h"

namespace tavuro::sales {

QString count_label(int count) {
  return QStringLiteral("记录数：") + QString::number(count);
}

QString total_label(Money total) {
  return QStringLiteral("合计金额：") + total.text() + QStringLiteral("元");
}

}  // namespace tavuro::sales
