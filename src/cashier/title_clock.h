#pragma once
// The caption of the cashier window: a clock with the program's name and version.

#include <QDateTime>
#include <QString>

namespace tavuro::cashier {

// "[Tavuro收银机V2.1] [2003年5月7日 3:05:09]": year, month, day and hour without leading
// zeros, the hour on a 12-hour dial without AM/PM (13 → 1, 12 → 12, 0 → 0).
QString window_title(const QDateTime& now);

// The whole caption: window_title + " [操作员编号:" + operator + "]".
QString caption_with_operator(const QDateTime& now, const QString& current_operator);

}  // namespace tavuro::cashier
