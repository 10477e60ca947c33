#include "cashier/title_clock.h"

#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

TEST(TitleClock, TwelveHourDialWithoutAmPm) {
  const QDate day(2003, 5, 7);
  EXPECT_EQ(window_title(QDateTime(day, QTime(15, 5, 9))), QStringLiteral("[Tavuro收银机V2.1] [2003年5月7日 3:05:09]"));
  EXPECT_EQ(window_title(QDateTime(day, QTime(0, 5, 3))), QStringLiteral("[Tavuro收银机V2.1] [2003年5月7日 0:05:03]"));
  EXPECT_EQ(window_title(QDateTime(day, QTime(12, 0, 0))), QStringLiteral("[Tavuro收银机V2.1] [2003年5月7日 12:00:00]"));
  EXPECT_EQ(window_title(QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59))),
            QStringLiteral("[Tavuro收银机V2.1] [2026年12月8日 11:59:59]"));
  EXPECT_EQ(caption_with_operator(QDateTime(day, QTime(15, 5, 9)), QStringLiteral("001")),
            QStringLiteral("[Tavuro收银机V2.1] [2003年5月7日 3:05:09] [操作员编号:001]"));
}

}  // namespace
}  // namespace tavuro::cashier
