// The lines of the cashier's lists.

#include "cashier/list_lines.h"
#include "support/scripted_dialogs.h"
#include "textlayout/text_layout.h"

#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

sales::SaleColumns sale(const char* goods, const char* op = "001") {
  return {QString::fromUtf8(goods), QStringLiteral("1.00"),   QStringLiteral("3.50"),
          QStringLiteral("7.25"),   QString::fromUtf8(op),    QStringLiteral("09:15:00")};
}

TEST(ListLines, ColumnsLineUpWhateverTheGoodsWidth) {
  // A goods name of width 16 is followed directly by the four-space gap; every line puts
  // the amount's last character in column 64 and has 86 columns.
  for (const char* goods : {"可乐", "可口可乐大瓶装三", "ABCDEFGHIJKLMNOP", "可乐 2L"}) {
    QString line = receipt_line(7, sale(goods, "王五"));
    EXPECT_TRUE(line.startsWith(QStringLiteral("  0007    ") + QString::fromUtf8(goods))) << goods;
    // A leading "|" keeps the line's leading spaces from being trimmed when measured.
    const QString head = line.left(line.indexOf(QStringLiteral("7.25")) + 4);  // through the amount
    EXPECT_EQ(textlayout::text_width(QString(QLatin1Char('|') + head)) - 1, 64) << goods;
    EXPECT_EQ(textlayout::text_width(QString(QLatin1Char('|') + line)) - 1, 86) << goods;
  }
}

TEST(ListLines, GoodsWiderThanItsColumnIsReportedAndLeftEmpty) {
  testing::ScriptedDialogs dialogs;
  const QString line = receipt_line(1, sale("可口可乐大瓶装三九"));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错![add_not]")});
  EXPECT_FALSE(line.contains(QStringLiteral("可口"))) << line.toStdString();
}

}  // namespace
}  // namespace tavuro::cashier
