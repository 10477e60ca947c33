#include "reports/sales_report.h"
#include "reports/report_layout.h"
#include "reports/report_sums.h"

#include "platform/text_file.h"
#include "report_test_support.h"
#include "store/data_file.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRandomGenerator>

#include <cstring>

namespace tavuro::reports {
namespace {

using test::sale;
using testing::ScriptedDialogs;
using testing::ShopFixture;

const QString kWrongFile = QStringLiteral("读数据文件时出错,可能你选的文件不是每天的数据文件！");

struct SalesReportTest : ::testing::Test {
  SalesReportTest() { shop.start_up(); }
  ShopFixture shop;
  ScriptedDialogs dialogs;
  QString output() const { return shop.file(QStringLiteral("p_file.run")); }
};

TEST_F(SalesReportTest, DayReportToTheCharacter) {
  shop.state.company_name = QStringLiteral("天河商店");
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral("雪碧"), QStringLiteral("3.00"));
  shop.add_goods(QStringLiteral("口香糖"), QStringLiteral("1.00"));  // registered, no sales
  shop.add_operator(QStringLiteral("张三"));
  shop.add_operator(QStringLiteral("007"));
  shop.add_sale(sale("可乐", "2.00", "5.00", "张三"));
  shop.add_sale(sale("雪碧 ", "1.00", "3.00", "007"));  // trailing space: still 雪碧
  shop.add_sale(sale("可乐", "  ", "2.50", "007"));     // blank quantity counts 0
  shop.add_sale(sale("咖啡", "1.00", "8.00", "张三"));  // goods not registered
  shop.add_sale(sale("雪碧", "1.50", "4.50", "李四"));  // operator not registered

  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(shop.state.current_report_file, output());
  test::expect_lines(test::report_file_lines(output()),
                     {
                         "",
                         "  【公司名：天河商店】",
                         "  【2003_5_7 商品销售明细报表 】",
                         "  ┌───┬───────────────┬─────────┬──────────────┐",
                         "  │ 序号 │         商       品          │    数      量    │          金    额          │",
                         "  ├───┼───────────────┼─────────┼──────────────┤",
                         "  │    1 │       可乐                   │         2.00     │               7.50         │",
                         "  │    2 │       雪碧                   │         2.50     │               7.50         │",
                         "  │    3 │       口香糖                 │         0.00     │               0.00         │",
                         "  ├───┼───────────────┼─────────┼──────────────┤",
                         "  │      │           合     计          │                  │              15.00 （元）  │",
                         "  └───┴───────────────┴─────────┴──────────────┘",
                         "  ",
                         "  【2003_5_7 个人销售明细表 】",
                         "  ┌───┬─────────────────┬────────────────┐",
                         "  │ 序号 │          操作员姓名/编号         │          个人销售金额          │",
                         "  ├───┼─────────────────┼────────────────┤",
                         "  │    1 │               张三               │                13.00           │",
                         "  │    2 │               007                │                 5.50           │",
                         "  ├───┼─────────────────┼────────────────┤",
                         "  │      │             合     计            │                18.50 （元）    │",
                         "  └───┴─────────────────┴────────────────┘",
                         "  ┌───┬────────────────────────────────────────┐",
                         "  │  备  │                                                                                │",
                         "  │  注  │                                                                                │",
                         "  └───┴────────────────────────────────────────┘",
                         "  【制表日期: 2003年5月7日 】    制表员：(签名)_______________",
                     });
}

TEST_F(SalesReportTest, EachFailureHasItsMessageAndWritesNothing) {
  const QString goods_missing = QStringLiteral("数据出错 [读商品名到数组 R_shop()]\r\r当前的文件是空的数据文件。");
  const QString day_empty =
      QStringLiteral("数据出错 [读商品名,计算金额入数组 R_name(),R_money()]\r\r当前的文件是空的数据文件。");
  const QString operators_empty = QStringLiteral(
      "数据出错 [读操作员名,计算它的销售金额入数组 R_use(),R_use_money()]\r\r当前的文件是空的数据文件。");
  auto expect_failure = [&](const QString& day_file, const QString& message) {
    dialogs.clear();
    shop.state.current_report_file = QStringLiteral("before");
    EXPECT_FALSE(build_sales_report(shop.state, day_file));
    EXPECT_EQ(dialogs.messages(), QStringList{message});
    EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
    EXPECT_EQ(shop.state.current_report_file, QStringLiteral("before"));
    EXPECT_FALSE(QFile::exists(output()));
  };
  const QString today = shop.state.paths.day_file;
  expect_failure(today, goods_missing);  // empty catalogue
  QFile::remove(shop.state.paths.shop_file);
  expect_failure(today, goods_missing);  // no catalogue
  shop.start_up();
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  expect_failure(today, day_empty);                                      // a day without sales
  expect_failure(shop.file(QStringLiteral("2003_5/9.day")), day_empty);  // no such day
  shop.add_sale(sale("可乐", "1.00", "2.50", "张三"));
  expect_failure(today, operators_empty);
  shop.add_operator(QStringLiteral("张三"));
  // A file that is not a day file, though it has records.
  expect_failure(shop.state.paths.shop_file, kWrongFile);
  // Letters where a number belongs, in a line that counts.
  shop.add_sale(sale("可乐", "1.00", "abc", "王五"));
  expect_failure(today, kWrongFile);
  // A damaged day file.
  testing::write_bytes(today, "not a database at all, just bytes that go on and on");
  expect_failure(today, kWrongFile);
}

TEST_F(SalesReportTest, CompanyNameIsAskedForUntilOneIsGiven) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_operator(QStringLiteral("张三"));
  shop.add_sale(sale("可乐", "1.00", "2.50", "张三"));
  const QString prompt = QStringLiteral("请输入你的公司名，如果你不输入就不打印你的公司名。");

  dialogs.answer_input(QStringLiteral("   "));
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));
  EXPECT_EQ(dialogs.shown().front().text, prompt);
  EXPECT_EQ(dialogs.shown().front().title, QStringLiteral("Tavuro收银机"));
  EXPECT_EQ(test::report_file_lines(output())[1], QStringLiteral("  【公司名：】"));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.co_file), QByteArray(" "));

  dialogs.cancel_input();
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));

  dialogs.answer_input(QStringLiteral(" 天河 "));
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));
  EXPECT_EQ(test::report_file_lines(output())[1], QStringLiteral("  【公司名： 天河 】"));
  EXPECT_EQ(platform::from_file_bytes(testing::read_bytes(shop.state.paths.co_file)), QStringLiteral(" 天河 "));

  dialogs.clear();
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));  // no prompt now
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(SalesReportTest, AGoodsRegisteredTwiceGetsTwoEqualRowsThatBothCount) {
  shop.state.company_name = QStringLiteral("X");
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral(" 可乐 "), QStringLiteral("2.50"));
  shop.add_operator(QStringLiteral("张三"));
  shop.add_sale(sale("可乐", "1.00", "2.50", "张三"));
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));
  const QStringList lines = test::report_file_lines(output());
  EXPECT_EQ(lines[6], QStringLiteral(
                          "  │    1 │       可乐                   │         1.00     │               2.50         │"));
  EXPECT_EQ(lines[7], QStringLiteral(
                          "  │    2 │       可乐                   │         1.00     │               2.50         │"));
  EXPECT_EQ(lines[9], QStringLiteral(
                          "  │      │           合     计          │                  │               5.00 （元）  │"));
}

TEST(ReportLayout, RowNumbersOfTenThousandAndMoreAreWrittenWholeWithoutAMessage) {
  ScriptedDialogs dialogs;
  std::vector<GoodsRow> goods(10001, GoodsRow{QStringLiteral("可乐"), sales::Money::from_hundredths(100), sales::Money::from_hundredths(250)});
  goods.back().name = QStringLiteral("一个名字长得超过了十六列");  // a cell value keeps its rule
  const QStringList lines = goods_table(goods);
  ASSERT_EQ(lines.size(), 6 + 10001);
  EXPECT_EQ(lines[3 + 9998], QStringLiteral(
                                 "│ 9999 │       可乐                   │         1.00     │               2.50         │"));
  EXPECT_EQ(lines[3 + 9999], QStringLiteral(
                                 "│ 10000 │       可乐                   │         1.00     │               2.50         │"));
  EXPECT_TRUE(lines[3 + 10000].startsWith(QStringLiteral("│ 10001 │") + QString(14, QLatin1Char(' ')) +
                                           QStringLiteral("│         1.00     │")));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错![add_not]")});

  dialogs.clear();
  const QStringList operators = operator_table(std::vector<OperatorRow>(12345, OperatorRow{QStringLiteral("张三"), sales::Money::from_hundredths(100)}));
  EXPECT_TRUE(operators[3 + 12344].startsWith(QStringLiteral("│ 12345 │               张三  ")));
  EXPECT_TRUE(dialogs.shown().empty());
}

bool same_bits(const std::vector<sales::Money>& a, const std::vector<sales::Money>& b) { return a == b; }

TEST(ReportSums, OnePassGivesExactlyThePerRowSums) {
  QRandomGenerator random(20030507);
  const QStringList goods = {QStringLiteral("可乐"), QStringLiteral("雪碧"),   QStringLiteral("可乐"),
                             QStringLiteral("面包"), QStringLiteral("口香糖"), QStringLiteral("无销售")};
  const QStringList operators = {QStringLiteral("张三"), QStringLiteral("007"), QStringLiteral("张三")};
  const QStringList names = {QStringLiteral("可乐"),   QStringLiteral(" 雪碧"), QStringLiteral("面包 "),
                             QStringLiteral("口香糖"), QStringLiteral("咖啡"),  QString()};
  const QStringList ops = {QStringLiteral("张三"), QStringLiteral("007 "), QStringLiteral("李四"), QString()};
  std::vector<DayLine> lines;
  for (int i = 0; i < 3000; ++i) {
    const QString quantity =
        random.bounded(20) == 0 ? QStringLiteral(" ") : QString::number(random.bounded(1000) / 100.0, 'f', 2);
    lines.push_back({names[random.bounded(names.size())], quantity,
                     QString::number(random.bounded(100000) / 100.0, 'f', 2), ops[random.bounded(ops.size())]});
  }
  const DaySums fast = sum_one_pass(goods, operators, lines);
  const DaySums slow = sum_per_row(goods, operators, lines);
  EXPECT_TRUE(same_bits(fast.quantity, slow.quantity));
  EXPECT_TRUE(same_bits(fast.amount, slow.amount));
  EXPECT_TRUE(same_bits(fast.operator_amount, slow.operator_amount));
  EXPECT_FALSE(fast.goods_failed || fast.operators_failed);
  EXPECT_EQ(fast.amount[5], sales::Money());
  EXPECT_EQ(fast.amount[0], fast.amount[2]);
  EXPECT_GT(fast.amount[1], sales::Money());

  // Letters in a line that counts for nobody are never read; in a counted line they fail
  // the table they count for, in both ways alike.
  lines.push_back({QStringLiteral("咖啡"), QStringLiteral("xyz"), QStringLiteral("abc"), QStringLiteral("李四")});
  DaySums a = sum_one_pass(goods, operators, lines);
  EXPECT_FALSE(a.goods_failed || a.operators_failed);
  lines.push_back({QStringLiteral("可乐"), QStringLiteral("1"), QStringLiteral("abc"), QStringLiteral("007")});
  a = sum_one_pass(goods, operators, lines);
  DaySums b = sum_per_row(goods, operators, lines);
  EXPECT_TRUE(a.goods_failed && b.goods_failed && a.operators_failed && b.operators_failed);
  lines.back() = {QStringLiteral("可乐"), QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("nobody")};
  a = sum_one_pass(goods, operators, lines);
  b = sum_per_row(goods, operators, lines);
  EXPECT_TRUE(a.goods_failed && b.goods_failed);
  EXPECT_FALSE(a.operators_failed || b.operators_failed);
  EXPECT_TRUE(same_bits(a.operator_amount, b.operator_amount));
}

}  // namespace
}  // namespace tavuro::reports
