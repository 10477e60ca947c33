#include "cashier/title_clock.h"

#include "platform/app_info.h"

namespace tavuro::cashier {

QString window_title(const QDateTime& now) {
  const QDate date = now.date();
  const QTime time = now.time();
  const int hour = time.hour() > 12 ? time.hour() - 12 : time.hour();
  return QLatin1Char('[') + platform::app_title() + QLatin1Char('V') + QString::number(platform::kVersionMajor) +
         QLatin1Char('.') + QString::number(platform::kVersionMinor) + QStringLiteral("] [") +
         QString::number(date.year()) + QStringLiteral("年") + QString::number(date.month()) + QStringLiteral("月") +
         QString::number(date.day()) + QStringLiteral("日 ") + QString::number(hour) + QLatin1Char(':') +
         QStringLiteral("%1:%2").arg(time.minute(), 2, 10, QLatin1Char('0')).arg(time.second(), 2, 10, QLatin1Char('0')) +
         QLatin1Char(']');
}

QString caption_with_operator(const QDateTime& now, const QString& current_operator) {
  return window_title(now) + QStringLiteral(" [操作员编号:") + current_operator + QLatin1Char(']');
}

}  // namespace tavuro::cashier
