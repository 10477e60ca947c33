// The data behind the cashier's two lists: the temporary record of the receipt being
// entered, and the view today's list shows.

#include "cashier/day_records.h"
#include "cashier/list_lines.h"
#include "cashier/temporary_record.h"
#include "cashier/today_view.h"
#include "sales/labels.h"
#include "store/schemas.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

namespace day = store::day;

sales::SaleColumns sale(const char* goods, const char* amount, const char* time = "09:15:00") {
  return {QString::fromUtf8(goods), QStringLiteral("1.00"),   QString::fromLatin1(amount),
          QString::fromLatin1(amount), QStringLiteral("001"), QString::fromLatin1(time)};
}

TEST(TemporaryRecordData, ALineJoinsOnlyWhenItIsCommittedEverywhereElse) {
  TemporaryRecord receipt;
  int commits = 0;
  EXPECT_FALSE(receipt.record(sale("可乐", "2.50"), [&] {
    ++commits;
    return false;
  }));
  EXPECT_EQ(commits, 1);
  EXPECT_TRUE(receipt.lines().isEmpty());
  EXPECT_EQ(receipt.count(), 0);
  EXPECT_EQ(receipt.total(), 0.0f);

  ASSERT_TRUE(receipt.record(sale("可乐", "2.50"), [] { return true; }));
  // A refused second line leaves the first as it was, and the next one still is 0002.
  EXPECT_FALSE(receipt.record(sale("面包", "8.00"), [] { return false; }));
  ASSERT_TRUE(receipt.record(sale("雪碧", "1.25"), [] { return true; }));
  EXPECT_EQ(receipt.texts(), (QStringList{receipt_line(1, sale("可乐", "2.50")), receipt_line(2, sale("雪碧", "1.25"))}));
  EXPECT_EQ(receipt.lines().at(1).columns.goods, QStringLiteral("雪碧"));
  EXPECT_EQ(receipt.count(), 2);
  EXPECT_EQ(receipt.next_number(), 3);
  EXPECT_EQ(receipt.total(), 3.75f);

  // An amount that is no number adds nothing.
  ASSERT_TRUE(receipt.record(sale("茶", "x"), [] { return true; }));
  EXPECT_EQ(receipt.total(), 3.75f);
}

TEST(TemporaryRecordData, DeletingALineKeepsTheNumberingAndClearingStartsAfresh) {
  TemporaryRecord receipt;
  ASSERT_TRUE(receipt.record(sale("可乐", "2.50"), [] { return true; }));
  ASSERT_TRUE(receipt.record(sale("面包", "8.00"), [] { return true; }));
  const QString first = receipt.texts().at(0);
  EXPECT_EQ(receipt.remove(QStringLiteral("no such line")), 0);
  EXPECT_EQ(receipt.remove(first), 1);
  EXPECT_EQ(receipt.texts(), QStringList{receipt_line(2, sale("面包", "8.00"))});
  // The total loses what the day file gave back, which need not be the line's amount.
  EXPECT_EQ(receipt.total(), 10.5f);
  receipt.take_off(2.0f);
  EXPECT_EQ(receipt.total(), 8.5f);
  EXPECT_EQ(receipt.next_number(), 3);

  receipt.clear();
  EXPECT_TRUE(receipt.lines().isEmpty());
  EXPECT_EQ(receipt.next_number(), 1);
  EXPECT_EQ(receipt.total(), 0.0f);
}

class TodayViewData : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.startUp();
    for (const char* op : {"001", "002", "002", "001"}) {
      shop.addSale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("2.50"), .op = QString::fromLatin1(op)});
    }
  }
  const QString& dayFile() const { return shop.state.paths.dayFile; }

  testing::ShopFixture shop;
  TodayView view;
};

TEST_F(TodayViewData, TheNextNumberFollowsTheViewShown) {
  EXPECT_EQ(view.next_number(), 1);
  view.show(TodayView::Kind::All, all_day_lines(dayFile()));
  EXPECT_EQ(view.next_number(), 5);
  EXPECT_EQ(view.today_total(), 10.0f);

  // A filtered view numbers its own lines; a sale continues it and adds to both totals.
  view.show(TodayView::Kind::Filtered,
            filtered_day_lines(dayFile(), day::kOperator, QStringLiteral("002"), day::kGoods, sales::kAllEntry));
  EXPECT_EQ(view.kind(), TodayView::Kind::Filtered);
  EXPECT_EQ(view.next_number(), 3);
  EXPECT_EQ(view.total(), 5.0f);
  EXPECT_EQ(view.today_total(), 10.0f);
  EXPECT_EQ(view.add_sale(sale("雪碧", "1.00"), 1.0f), 3);
  EXPECT_EQ(view.lines().last(), sales::display_line(3, sale("雪碧", "1.00")));
  EXPECT_EQ(view.add_sale(sale("茶", "2.00"), 2.0f), 4);
  EXPECT_EQ(view.total(), 8.0f);
  EXPECT_EQ(view.today_total(), 13.0f);

  // A receipt that the day does not hold: an empty view, and a sale is its first line.
  view.show(TodayView::Kind::Receipt, receipt_day_lines(dayFile(), QStringLiteral("999999")));
  EXPECT_EQ(view.next_number(), 1);
  EXPECT_EQ(view.today_total(), 13.0f);

  // Reading the full view again takes the day file's figures.
  view.show(TodayView::Kind::All, all_day_lines(dayFile()));
  EXPECT_EQ(view.next_number(), 5);
  EXPECT_EQ(view.today_total(), 10.0f);
}

TEST_F(TodayViewData, NumbersPastFourDigitsGoOn) {
  DayView big;
  for (int n = 1; n <= 9999; ++n) big.lines << sales::display_line(n, sale("可乐", "1.00"));
  view.show(TodayView::Kind::All, big);
  EXPECT_EQ(view.add_sale(sale("可乐", "1.00"), 1.0f), 10000);
  EXPECT_EQ(view.add_sale(sale("7喜", "1.00"), 1.0f), 10001);
  EXPECT_TRUE(view.lines().last().startsWith(QStringLiteral("  10001    7喜")));
}

}  // namespace
}  // namespace tavuro::cashier
