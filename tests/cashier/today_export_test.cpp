// 导出… on today's list: the view shown goes out as it stands in the day file, through
// the recovery of a damaged day file like the view itself.

#include "cashier_window.h"
#include "support/export_reader.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

class TodayExport : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* goods : {"可乐", "面包", "雪碧"}) cashier.shop.add_goods(QString::fromUtf8(goods), QStringLiteral("1.00"));
    cashier.shop.add_operator(QStringLiteral("001"));
    cashier.shop.add_operator(QStringLiteral("002"));
    add(QStringLiteral("可乐"), QStringLiteral("2.50"), QStringLiteral("001"));
    add(QStringLiteral("面包"), QStringLiteral("8.00"), QStringLiteral("002"));
    add(QStringLiteral("可乐"), QStringLiteral("7.55"), QStringLiteral("002"));
    add(QStringLiteral("雪碧"), QStringLiteral("3.00"), QStringLiteral("001"));
    cashier.open();
  }

  void add(const QString& goods, const QString& amount, const QString& op) {
    SaleLine line;
    line.goods = goods;
    line.amount = amount;
    line.op = op;
    line.time = QStringLiteral("09:0%1:00").arg(++added_);
    cashier.shop.add_sale(line);
  }

  // Runs 导出… with the save dialog answered by name in the application directory.
  QString export_as(const QString& name) {
    const QString path = cashier.shop.file(name);
    cashier.dialogs.answer_file(path);
    cashier.action("导出")->trigger();
    return path;
  }

  // The goods and amount columns of a CSV's rows after the header.
  static QStringList goods_and_amounts(const CsvFile& csv) {
    QStringList cells;
    for (qsizetype i = 1; i < csv.rows.size(); ++i) cells << csv.rows[i][1] + QLatin1Char(' ') + csv.rows[i][4];
    return cells;
  }

  CashierWindow cashier;
  int added_ = 0;
};

TEST_F(TodayExport, TheFilteredViewShownGoesOutWithItsTotal) {
  QComboBox* op = cashier.combo("Co_查操作员");
  op->setCurrentIndex(op->findText(QStringLiteral("002")));
  Q_EMIT op->activated(op->currentIndex());
  ASSERT_EQ(cashier.list("List2")->count(), 2);

  const QString path = export_as(QStringLiteral("今天.csv"));
  const ShownDialog& asked = cashier.dialogs.shown().front();
  EXPECT_EQ(asked.kind, ShownDialog::Kind::SaveFile);
  EXPECT_EQ(asked.file.title, QStringLiteral("导出"));
  EXPECT_EQ(asked.file.start_folder, cashier.shop.dir());
  EXPECT_EQ(asked.file.fileName, QStringLiteral("2003_5_7"));
  EXPECT_TRUE(asked.file.filter.contains(QStringLiteral("*.xlsx")));

  const CsvFile csv = read_csv(path);
  EXPECT_TRUE(csv.byte_order_mark);
  EXPECT_EQ(goods_and_amounts(csv), (QStringList{QStringLiteral("面包 8.00"), QStringLiteral("可乐 7.55"),
                                                 QStringLiteral("共 2 行 15.55")}));
  EXPECT_EQ(csv.rows[1][0], QStringLiteral("2003-05-07"));
  EXPECT_EQ(cashier.dialogs.last_message().text, QStringLiteral("导出完成，共 2 行。\n文件：") + path);
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Information);

  // A record written to the day file after the view was read is not shown, nor exported.
  cashier.shop.add_sale({QStringLiteral("不在视图")});
  const QString again = export_as(QStringLiteral("again.csv"));
  EXPECT_EQ(read_csv(again).rows.size(), 4);  // header, the two lines, totals
}

TEST_F(TodayExport, ADamagedDayFileIsMendedFromItsBackupFirst) {
  const QString& day_file = cashier.shop.state.paths.day_file;
  QFile::copy(day_file, cashier.shop.state.paths.day_backup);
  write_bytes(day_file, "SQLite format 3");  // a truncated database
  const QString path = export_as(QStringLiteral("今天.csv"));
  EXPECT_EQ(read_bytes(day_file + QStringLiteral(".bad")), "SQLite format 3");
  EXPECT_EQ(read_bytes(day_file), read_bytes(cashier.shop.state.paths.day_backup));
  EXPECT_EQ(goods_and_amounts(read_csv(path)),
            (QStringList{QStringLiteral("可乐 2.50"), QStringLiteral("面包 8.00"), QStringLiteral("可乐 7.55"),
                         QStringLiteral("雪碧 3.00"), QStringLiteral("共 4 行 21.05")}));
  const QStringList told = cashier.dialogs.messages();
  ASSERT_EQ(told.size(), 2);
  EXPECT_TRUE(told[0].startsWith(QStringLiteral("数据文件已从备份恢复：") + day_file));
  EXPECT_TRUE(told[1].startsWith(QStringLiteral("导出完成，共 4 行。")));

  // With no backup the recovery gives up: its messages, and no file.
  cashier.dialogs.clear();
  QFile::remove(cashier.shop.state.paths.day_backup);
  write_bytes(day_file, "garbage");
  const QString none = export_as(QStringLiteral("没有.xlsx"));
  EXPECT_EQ(cashier.dialogs.messages(),
            (QStringList{QStringLiteral("备份数据文件出错。"),
                         QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") + day_file + QStringLiteral("]")}));
  EXPECT_FALSE(QFile::exists(none));
  EXPECT_FALSE(QFile::exists(none + QStringLiteral(".tmp~")));
}

TEST_F(TodayExport, HandingTheDayOutTakesTheAdministratorsPassword) {
  cashier.shop.state.admin_password = QStringLiteral("Boss1");
  cashier.dialogs.answer_input(QStringLiteral("boss1"));
  cashier.action("导出")->trigger();
  // A wrong password: no save dialog, no file.
  ASSERT_FALSE(cashier.dialogs.shown().empty());
  for (const ShownDialog& shown : cashier.dialogs.shown()) EXPECT_NE(shown.kind, ShownDialog::Kind::SaveFile);
  cashier.dialogs.clear();
  cashier.dialogs.answer_input(QStringLiteral("Boss1"));
  const QString path = export_as(QStringLiteral("今天.csv"));
  EXPECT_EQ(read_csv(path).rows.size(), 6);
}

}  // namespace
}  // namespace tavuro::testing
