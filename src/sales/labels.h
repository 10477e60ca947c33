#pragma once
// The texts that stand beside and above every list of sale lines: the count and total
// labels under a list, and the all-entry that opens every filter box.

#include "sales/money.h"

#include <QString>

namespace tavuro::sales {

// The first entry of every filter box: no filter.
inline const QString kAllEntry = QStringLiteral("* 全部 *");

QString count_label(int count);    // 记录数：N
QString total_label(Money total);  // 合计金额：0.00元

}  // namespace tavuro::sales
