#include "sales/display_line.h"
#include "sales/sale_line.h"

#include "store/data_file.h"
#include "store/schemas.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace tavuro::sales {
namespace {

using testing::ScriptedDialogs;

TEST(DisplayLine, ColumnsAreFixedWidthWithCjkCountingTwo) {
  ScriptedDialogs dialogs;
  EXPECT_EQ(display_line(7, {QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("3.50"),
                             QStringLiteral("7.00"), QStringLiteral("张三"), QStringLiteral("15:05:09")}),
            QStringLiteral("     7    可乐                    2.00        3.50          7.00    张三      15:05:09"));
  // A goods name of the full width meets the gap directly; stored spaces are trimmed.
  EXPECT_EQ(display_line(12, {QStringLiteral("一二三四五六七八"), QStringLiteral(" 1.00 "), QStringLiteral("1.00"),
                              QStringLiteral("1.00"), QStringLiteral("op"), QStringLiteral("9:01")}),
            QStringLiteral("    12    一二三四五六七八        1.00        1.00          1.00    op        9:01"));
  EXPECT_TRUE(dialogs.messages().isEmpty());

  // Too wide for its column: the message, and the column stays empty.
  const QString line =
      display_line(1, {QStringLiteral("一二三四五六七八九"), QStringLiteral("1.00"), QStringLiteral("1.00"),
                       QStringLiteral("1.00"), QStringLiteral("001"), QStringLiteral("10:00:00")});
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错![add_not]")});
  EXPECT_EQ(line, QStringLiteral("     1    ") + QStringLiteral("    ") +
                      QStringLiteral("    1.00        1.00          1.00    001       10:00:00"));
}

TEST(DisplayLine, NumbersBeyondFourDigitsAreShownWithoutAMessage) {
  ScriptedDialogs dialogs;
  const QString line = display_line(10000, {QStringLiteral("x"), {}, {}, {}, {}, {}});
  EXPECT_TRUE(line.startsWith(QStringLiteral("  10000    x ")));
  EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST(DisplayLine, EveryColumnEndsWhereTheNextGapBegins) {
  // Values that fill each column exactly leave one gap between neighbours and no more.
  ScriptedDialogs dialogs;
  const SaleColumns full{QString(kGoodsWidth, QLatin1Char('g')),    QString(kQuantityWidth, QLatin1Char('q')),
                         QString(kPriceWidth, QLatin1Char('p')),    QString(kAmountWidth, QLatin1Char('a')),
                         QString(kOperatorWidth, QLatin1Char('o')), QStringLiteral("15:05:09")};
  const QStringList parts = display_line(1234, full).split(kColumnGap);
  EXPECT_EQ(parts, (QStringList{QStringLiteral("  1234"), full.goods, full.quantity, full.price, full.amount, full.op,
                                full.time}));
  EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST(DisplayLine, TheColumnsOfAStoredRecordAreItsDisplayFields) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("7.day"));
  store::DataFile::create(path, store::day_schema());
  {
    store::DataFile file = store::DataFile::open(path, store::day_schema());
    file.append({{store::day::kReceiptNo, QStringLiteral("000042")},
                 {store::day::kCustomer, kWalkInCustomer},
                 {store::day::kTime, QStringLiteral("15:05:09")},
                 {store::day::kOperator, QStringLiteral("张三")},
                 {store::day::kAmount, QStringLiteral("7.00")},
                 {store::day::kPrice, QStringLiteral("3.50")},
                 {store::day::kQuantity, QStringLiteral("2.00")},
                 {store::day::kGoods, QStringLiteral("可乐")}});
  }
  const std::vector<store::Record> records = store::DataFile::open(path).records(display_fields());
  ASSERT_EQ(records.size(), 1u);
  const SaleColumns columns = sale_columns(records.front());
  EXPECT_EQ(columns.goods, QStringLiteral("可乐"));
  EXPECT_EQ(columns.quantity, QStringLiteral("2.00"));
  EXPECT_EQ(columns.price, QStringLiteral("3.50"));
  EXPECT_EQ(columns.amount, QStringLiteral("7.00"));
  EXPECT_EQ(columns.op, QStringLiteral("张三"));
  EXPECT_EQ(columns.time, QStringLiteral("15:05:09"));
}

}  // namespace
}  // namespace tavuro::sales
