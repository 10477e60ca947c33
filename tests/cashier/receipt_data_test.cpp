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

// A commit that puts the line into a day file as record id.
std::function<std::optional<store::RecordRef>()> written_as(qint64 id) {
  return [id] { return store::RecordRef{QStringLiteral("7.day"), id, {}}; };
}
std::optional<store::RecordRef> refused() { return std::nullopt; }

TEST(TemporaryRecordData, ALineJoinsOnlyWhenItIsCommittedEverywhereElse) {
  TemporaryRecord receipt;
  int commits = 0;
  EXPECT_FALSE(receipt.record(sale("可乐", "2.50"), [&] {
    ++commits;
    return refused();
  }));
  EXPECT_EQ(commits, 1);
  EXPECT_TRUE(receipt.lines().isEmpty());
  EXPECT_EQ(receipt.count(), 0);
  EXPECT_EQ(receipt.total().text(), QStringLiteral("0.00"));

  ASSERT_TRUE(receipt.record(sale("可乐", "2.50"), written_as(11)));
  // A refused second line leaves the first as it was, and the next one still is 0002.
  EXPECT_FALSE(receipt.record(sale("面包", "8.00"), refused));
  ASSERT_TRUE(receipt.record(sale("雪碧", "1.25"), written_as(12)));
  EXPECT_EQ(receipt.texts(), (QStringList{receipt_line(1, sale("可乐", "2.50")), receipt_line(2, sale("雪碧", "1.25"))}));
  EXPECT_EQ(receipt.lines().at(1).columns.goods, QStringLiteral("雪碧"));
  // Each line knows the record it wrote.
  EXPECT_EQ(receipt.lines().at(0).record.id, 11);
  EXPECT_EQ(receipt.lines().at(1).record.id, 12);
  EXPECT_EQ(receipt.count(), 2);
  EXPECT_EQ(receipt.next_number(), 3);
  EXPECT_EQ(receipt.total().text(), QStringLiteral("3.75"));

  // An amount that is no number adds nothing.
  ASSERT_TRUE(receipt.record(sale("茶", "x"), written_as(13)));
  EXPECT_EQ(receipt.total().text(), QStringLiteral("3.75"));
}

TEST(TemporaryRecordData, TheTotalIsExactWhereSinglePrecisionLosesCents) {
  // A hand-typed amount of ten digits and one cent: in single precision 1234568.00.
  TemporaryRecord receipt;
  sales::SaleColumns watch = sale("金表", "1.00");
  watch.amount = QStringLiteral("1234567.89");
  ASSERT_TRUE(receipt.record(watch, written_as(1)));
  ASSERT_TRUE(receipt.record(sale("袋子", "0.01"), written_as(2)));
  EXPECT_EQ(receipt.total().text(), QStringLiteral("1234567.90"));
  receipt.remove(0);
  EXPECT_EQ(receipt.total().text(), QStringLiteral("0.01"));
}

TEST(TemporaryRecordData, DeletingALineKeepsTheNumberingAndClearingStartsAfresh) {
  TemporaryRecord receipt;
  ASSERT_TRUE(receipt.record(sale("可乐", "2.50"), written_as(1)));
  ASSERT_TRUE(receipt.record(sale("面包", "8.00"), written_as(2)));
  receipt.remove(5);  // no such line
  EXPECT_EQ(receipt.lines().size(), 2);
  receipt.remove(0);
  EXPECT_EQ(receipt.texts(), QStringList{receipt_line(2, sale("面包", "8.00"))});
  // The total loses the amount of the line that went.
  EXPECT_EQ(receipt.total().text(), QStringLiteral("8.00"));
  EXPECT_EQ(receipt.next_number(), 3);

  receipt.clear();
  EXPECT_TRUE(receipt.lines().isEmpty());
  EXPECT_EQ(receipt.next_number(), 1);
  EXPECT_EQ(receipt.total().text(), QStringLiteral("0.00"));
}

class TodayViewData : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    for (const char* op : {"001", "002", "002", "001"}) {
      shop.add_sale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("2.50"), .op = QString::fromLatin1(op)});
    }
  }
  const QString& day_file() const { return shop.state.paths.day_file; }

  testing::ShopFixture shop;
  TodayView view;
};

TEST_F(TodayViewData, TheNextNumberFollowsTheViewShown) {
  EXPECT_EQ(view.next_number(), 1);
  view.show(TodayView::Kind::All, all_day_lines(day_file()));
  EXPECT_EQ(view.next_number(), 5);
  EXPECT_EQ(view.today_total().text(), QStringLiteral("10.00"));

  // A filtered view numbers its own lines; a sale continues it and adds to both totals.
  view.show(TodayView::Kind::Filtered,
            filtered_day_lines(day_file(), day::kOperator, QStringLiteral("002"), day::kGoods, sales::kAllEntry));
  EXPECT_EQ(view.kind(), TodayView::Kind::Filtered);
  EXPECT_EQ(view.next_number(), 3);
  EXPECT_EQ(view.total().text(), QStringLiteral("5.00"));
  EXPECT_EQ(view.today_total().text(), QStringLiteral("10.00"));
  EXPECT_EQ(view.add_sale(sale("雪碧", "1.00"), {day_file(), 5, {}}), 3);
  EXPECT_EQ(view.lines().last(), sales::display_line(3, sale("雪碧", "1.00")));
  EXPECT_EQ(view.add_sale(sale("茶", "2.00"), {day_file(), 6, {}}), 4);
  EXPECT_EQ(view.total().text(), QStringLiteral("8.00"));
  EXPECT_EQ(view.today_total().text(), QStringLiteral("13.00"));

  // A receipt that the day does not hold: an empty view, and a sale is its first line.
  view.show(TodayView::Kind::Receipt, receipt_day_lines(day_file(), QStringLiteral("999999")));
  EXPECT_EQ(view.next_number(), 1);
  EXPECT_EQ(view.today_total().text(), QStringLiteral("13.00"));

  // Reading the full view again takes the day file's figures.
  view.show(TodayView::Kind::All, all_day_lines(day_file()));
  EXPECT_EQ(view.next_number(), 5);
  EXPECT_EQ(view.today_total().text(), QStringLiteral("10.00"));
}

TEST_F(TodayViewData, EveryLineOfEveryViewKnowsItsRecord) {
  const std::vector<store::Record> stored = shop.records(day_file());
  // The lines of operator 002 are the second and third record, whatever their text says.
  view.show(TodayView::Kind::Filtered,
            filtered_day_lines(day_file(), day::kOperator, QStringLiteral("002"), day::kGoods, sales::kAllEntry));
  ASSERT_EQ(view.count(), 2);
  EXPECT_EQ(view.record_at(0)->id, stored[1].id());
  EXPECT_EQ(view.record_at(1)->id, stored[2].id());
  EXPECT_EQ(view.record_at(1)->values, stored[2].values());
  EXPECT_EQ(view.record_at(1)->path, day_file());
  EXPECT_FALSE(view.record_at(2).has_value());
  EXPECT_FALSE(view.record_at(-1).has_value());
  // A sale joins with the record it wrote.
  view.add_sale(sale("雪碧", "1.00"), {day_file(), 99, {}});
  EXPECT_EQ(view.record_at(2)->id, 99);
  view.show(TodayView::Kind::All, all_day_lines(day_file()));
  EXPECT_EQ(view.record_at(3)->id, stored[3].id());
}

TEST_F(TodayViewData, NumbersPastFourDigitsGoOn) {
  DayView big;
  for (int n = 1; n <= 9999; ++n) big.lines << sales::display_line(n, sale("可乐", "1.00"));
  view.show(TodayView::Kind::All, big);
  EXPECT_EQ(view.add_sale(sale("可乐", "1.00"), {}), 10000);
  EXPECT_EQ(view.add_sale(sale("7喜", "1.00"), {}), 10001);
  EXPECT_TRUE(view.lines().last().startsWith(QStringLiteral("  10001    7喜")));
}

}  // namespace
}  // namespace tavuro::cashier
