// A month of random amounts added up by the month-end report and the query, held against
// a sum made here in whole fen: not one fen may drift over 31 days of 5,000 lines.

#include "query/query_engine.h"
#include "reports/report_runs.h"
#include "sales/labels.h"
#include "sales/sale_line.h"
#include "store/data_file.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <array>
#include <random>

namespace tavuro::cashier {
namespace {

namespace day = store::day;

constexpr int kDays = 31;
constexpr int kLinesADay = 5000;

QString fen_text(qint64 fen) { return QStringLiteral("%1.%2").arg(fen / 100).arg(fen % 100, 2, 10, QLatin1Char('0')); }

// The money texts of a report line, in their order.
QStringList money_in(const QString& line) {
  QStringList found;
  static const QRegularExpression money(QStringLiteral("\\d+\\.\\d\\d"));
  for (const QRegularExpressionMatch& match : money.globalMatch(line)) found << match.captured();
  return found;
}

TEST(MonthTotals, ThirtyOneDaysOfRandomAmountsAddUpToTheFen) {
  testing::ShopFixture shop;
  testing::ScriptedDialogs dialogs;
  shop.start_up();
  shop.state.company_name = QStringLiteral("小王商店");
  const std::array<QString, 3> goods{QStringLiteral("可乐"), QStringLiteral("面包"), QStringLiteral("香烟")};
  const std::array<QString, 2> operators{QStringLiteral("001"), QStringLiteral("002")};
  for (const QString& name : goods) shop.add_goods(name, QStringLiteral("1.00"));
  for (const QString& name : operators) shop.add_operator(name);

  std::mt19937 random(20030507);
  std::uniform_int_distribution<qint64> fen(1, 1999);
  std::array<qint64, 3> goods_fen{};
  std::array<qint64, 3> goods_lines{};
  std::array<qint64, 2> operator_fen{};
  QStringList names;
  QStringList files;
  for (int d = 1; d <= kDays; ++d) {
    std::vector<store::FieldValues> rows;
    rows.reserve(kLinesADay);
    for (int i = 0; i < kLinesADay; ++i) {
      const qint64 amount = fen(random);
      const size_t g = static_cast<size_t>(i) % goods.size();
      const size_t o = static_cast<size_t>(i / 7) % operators.size();
      goods_fen[g] += amount;
      ++goods_lines[g];
      operator_fen[o] += amount;
      rows.push_back({{day::kGoods, goods[g]},
                      {day::kQuantity, QStringLiteral("1.00")},
                      {day::kPrice, fen_text(amount)},
                      {day::kAmount, fen_text(amount)},
                      {day::kOperator, operators[o]},
                      {day::kTime, QStringLiteral("15:05:09")},
                      {day::kCustomer, sales::kWalkInCustomer},
                      {day::kReceiptNo, QStringLiteral("000001")}});
    }
    names << QStringLiteral("%1.day").arg(d);
    files << shop.state.paths.month_folder + QLatin1Char('/') + names.last();
    store::DataFile::create(files.last(), store::day_schema());
    store::DataFile::open(files.last(), store::day_schema()).append_all(rows);
  }
  const qint64 all_fen = goods_fen[0] + goods_fen[1] + goods_fen[2];
  ASSERT_EQ(all_fen, operator_fen[0] + operator_fen[1]);

  // The month-end report: each goods row, each operator row and both totals.
  ASSERT_TRUE(reports::run_reports(shop.state, reports::RunMode::MonthEnd, shop.state.paths.month_folder, names));
  EXPECT_TRUE(dialogs.shown().empty());
  QStringDecoder decoder("GB18030");
  const QStringList report = QString(decoder.decode(testing::read_bytes(shop.file(QStringLiteral("p_file.run")))))
                                 .split(QStringLiteral("\r\n"));
  for (size_t g = 0; g < goods.size(); ++g) {
    const QStringList row = report.filter(QStringLiteral(" ") + goods[g] + QStringLiteral(" "));
    ASSERT_EQ(row.size(), 1) << goods[g].toStdString();
    EXPECT_EQ(money_in(row[0]), (QStringList{fen_text(goods_lines[g] * 100), fen_text(goods_fen[g])}))
        << row[0].toStdString();
  }
  const QStringList totals = report.filter(QStringLiteral("（元）"));
  ASSERT_EQ(totals.size(), 2);
  EXPECT_EQ(money_in(totals[0]), QStringList{fen_text(all_fen)}) << totals[0].toStdString();
  EXPECT_EQ(money_in(totals[1]), QStringList{fen_text(all_fen)}) << totals[1].toStdString();
  for (size_t o = 0; o < operators.size(); ++o) {
    const QStringList row = report.filter(QRegularExpression(QStringLiteral("│ +") + operators[o] + QStringLiteral(" +│")));
    ASSERT_EQ(row.size(), 1);
    EXPECT_EQ(money_in(row[0]), QStringList{fen_text(operator_fen[o])}) << row[0].toStdString();
  }

  // The query over the month: all lines, then one operator's.
  const QString all = sales::kAllEntry;
  const query::QueryResult everything =
      query::query_files(files, {{day::kGoods, all}, {day::kOperator, all}, {day::kCustomer, all}}, {},
                         kDays * kLinesADay);
  EXPECT_EQ(everything.count(), kDays * kLinesADay);
  EXPECT_EQ(everything.total.text(), fen_text(all_fen));
  const query::QueryResult second =
      query::query_files(files, {{day::kGoods, all}, {day::kOperator, operators[1]}, {day::kCustomer, all}}, {},
                         kDays * kLinesADay);
  EXPECT_EQ(second.total.text(), fen_text(operator_fen[1]));
}

}  // namespace
}  // namespace tavuro::cashier
