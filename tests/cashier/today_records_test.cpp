// Today's records in the cashier window: the full view, the filters, the receipt query,
// the recovery of a damaged day file, the popups and tool tips of the lists.

#include "cashier_window.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

using platform::Icon;

class TodayRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* goods : {"可乐", "面包", "雪碧"}) cashier.shop.add_goods(QString::fromUtf8(goods), QStringLiteral("1.00"));
    cashier.shop.add_operator(QStringLiteral("001"));
    cashier.shop.add_operator(QStringLiteral("002"));
    add(QStringLiteral("可乐"), QStringLiteral("2.50"), QStringLiteral("001"), QStringLiteral("000001"));
    add(QStringLiteral("面包"), QStringLiteral("8.00"), QStringLiteral("002"), QStringLiteral("000001"));
    add(QStringLiteral("可乐"), QStringLiteral("7.50"), QStringLiteral("002"), QStringLiteral("000002"));
    add(QStringLiteral("雪碧"), QStringLiteral("3.00"), QStringLiteral("001"), QStringLiteral("000003"));
    cashier.open();
  }

  void add(const QString& goods, const QString& amount, const QString& op, const QString& receipt) {
    SaleLine line;
    line.goods = goods;
    line.amount = amount;
    line.op = op;
    line.receipt = receipt;
    line.time = QStringLiteral("09:0%1:00").arg(++added_);
    cashier.shop.add_sale(line);
  }

  // Picks an entry of a filter box as a click on it does.
  void pick(const char* combo_name, const QString& text) {
    QComboBox* combo = cashier.combo(combo_name);
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
  }

  // The goods names of the shown lines.
  QStringList shown_goods() const {
    QStringList goods;
    for (const QString& line : cashier.lines("List2")) goods << line.mid(10, 4).trimmed();
    return goods;
  }
  QStringList labels() const {
    return {cashier.label("Label7")->text(), cashier.label("Label6")->text(), cashier.label("Label5")->text()};
  }

  CashierWindow cashier;
  int added_ = 0;
};

TEST_F(TodayRecords, FullViewAtLoad) {
  const QStringList lines = cashier.lines("List2");
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], QStringLiteral("     1    可乐                    1.00        1.00          2.50    001       09:01:00"));
  EXPECT_TRUE(lines[3].startsWith(QStringLiteral("     4    雪碧")));
  EXPECT_EQ(cashier.list("List2")->currentRow(), 3);
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("操作编号 = *全部*"), QStringLiteral("记录数：4"),
                                   QStringLiteral("合计金额：21.00元")}));
}

TEST_F(TodayRecords, OperatorAndGoodsFilters) {
  pick("Co_查操作员", QStringLiteral("002"));
  EXPECT_EQ(shown_goods(), (QStringList{QStringLiteral("面包"), QStringLiteral("可乐")}));
  EXPECT_TRUE(cashier.lines("List2")[1].startsWith(QStringLiteral("     2    可乐")));
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("操作编号 = 002"), QStringLiteral("记录总数：2"),
                                   QStringLiteral("合计金额：15.50元")}));

  pick("Co_查商品", QStringLiteral("可乐"));
  EXPECT_EQ(shown_goods(), QStringList{QStringLiteral("可乐")});
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("查商品名 = 可乐"), QStringLiteral("记录总数：1"),
                                   QStringLiteral("合计金额：7.50元")}));

  // The operator back at the all-entry: a goods filter named by the operator combo.
  pick("Co_查操作员", QStringLiteral("* 全部 *"));
  EXPECT_EQ(shown_goods(), (QStringList{QStringLiteral("可乐"), QStringLiteral("可乐")}));
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("操作编号 = * 全部 *"), QStringLiteral("记录总数：2"),
                                   QStringLiteral("合计金额：10.00元")}));

  // Enter in the goods box does what a click does; both at the all-entry show everything.
  QComboBox* goods = cashier.combo("Co_查商品");
  goods->setFocus();
  goods->setEditText(QStringLiteral("* 全部 *"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.list("List2")->count(), 4);
  EXPECT_EQ(labels()[0], QStringLiteral("操作编号 = *全部*"));
  EXPECT_EQ(cashier.combo("Co_查操作员")->currentText(), QStringLiteral("* 全部 *"));

  // A goods name without sales: an empty view with its count and total.
  goods->setEditText(QStringLiteral("汽水"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.list("List2")->count(), 0);
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("查商品名 = 汽水"), QStringLiteral("记录总数：0"),
                                   QStringLiteral("合计金额：0.00元")}));
  EXPECT_TRUE(cashier.dialogs.shown().empty());
}

TEST_F(TodayRecords, EmptyFilterTextsAreRefused) {
  const QStringList before = cashier.lines("List2");
  cashier.combo("Co_查操作员")->setEditText(QStringLiteral("  "));
  Q_EMIT cashier.combo("Co_查操作员")->activated(-1);
  cashier.combo("Co_查商品")->setEditText(QString());
  Q_EMIT cashier.combo("Co_查商品")->activated(-1);
  EXPECT_EQ(cashier.dialogs.messages(), (QStringList{QStringLiteral("请先选查操作员。"), QStringLiteral("请先选商品名。")}));
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(cashier.lines("List2"), before);

  cashier.dialogs.clear();
  cashier.window->today().Read_x_myfile(QStringLiteral("商品"), QString(), QStringLiteral("操作编号"), QStringLiteral("001"));
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("数据传递出错。[Read_x_myfile]")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Exclamation);
}

TEST_F(TodayRecords, FilterOnAnEmptyDayClearsTheListAndKeepsTheLabels) {
  QFile::remove(cashier.shop.state.paths.day_file);
  store::DataFile::create(cashier.shop.state.paths.day_file, store::day_schema());
  pick("Co_查操作员", QStringLiteral("001"));
  EXPECT_EQ(cashier.list("List2")->count(), 0);
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("操作编号 = *全部*"), QStringLiteral("记录数：4"),
                                   QStringLiteral("合计金额：21.00元")}));
  cashier.window->read_myfile();
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("操作编号 = *全部*"), QStringLiteral("记录数：0"),
                                   QStringLiteral("合计金额：0.00元")}));
  // A missing day file changes nothing.
  QFile::remove(cashier.shop.state.paths.day_file);
  cashier.list("List2")->addItem(QStringLiteral("shown before"));
  cashier.window->read_myfile();
  EXPECT_EQ(cashier.lines("List2"), QStringList{QStringLiteral("shown before")});
  EXPECT_EQ(cashier.label("Label6")->text(), QStringLiteral("记录数：0"));
  EXPECT_TRUE(cashier.dialogs.shown().empty());
}

TEST_F(TodayRecords, ReceiptQueryAndItsPlaceholder) {
  QLineEdit* query = cashier.text("Text4");
  query->setFocus();
  EXPECT_EQ(query->selectedText(), QStringLiteral("单号查询"));
  type_text(QStringLiteral("00a0001"));
  EXPECT_EQ(query->text(), QStringLiteral("000001"));
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("只可以输入数字。")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Critical);
  type_text(QStringLiteral("9"));  // at most six characters
  EXPECT_EQ(query->text(), QStringLiteral("000001"));

  cashier.dialogs.clear();
  press_key(Qt::Key_Return);
  EXPECT_EQ(shown_goods(), (QStringList{QStringLiteral("可乐"), QStringLiteral("面包")}));
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("查询单号 = 000001"), QStringLiteral("记录数：2"),
                                   QStringLiteral("合计金额：10.50元")}));
  QTimer* timer = cashier.find<QTimer>(QStringLiteral("Timer2"));
  EXPECT_TRUE(timer->isActive());

  // The placeholder returns at the 21st tick after the first query.
  for (int tick = 0; tick < 20; ++tick) cashier.window->today().Timer2_Timer();
  EXPECT_EQ(query->text(), QStringLiteral("000001"));
  cashier.window->today().Timer2_Timer();
  EXPECT_EQ(query->text(), QStringLiteral("单号查询"));
  EXPECT_FALSE(timer->isActive());

  // A number the day does not hold: an empty view, no message; after that the
  // placeholder comes back at the first tick.
  query->setText(QStringLiteral("999999"));
  query->setFocus();
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.list("List2")->count(), 0);
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("查询单号 = 999999"), QStringLiteral("记录数：0"),
                                   QStringLiteral("合计金额：0.00元")}));
  EXPECT_TRUE(cashier.dialogs.shown().empty());
  cashier.window->today().Timer2_Timer();
  EXPECT_EQ(query->text(), QStringLiteral("单号查询"));

  // An empty box asks for a number and starts no countdown.
  query->clear();
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("你还未输入数据！")});
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(cashier.focused(), query);
}

TEST_F(TodayRecords, TheReceiptBoxTakesEditingKeysAndPastedDigitsOnly) {
  QLineEdit* query = cashier.text("Text4");
  query->setFocus();
  type_text(QStringLiteral("0000012"));  // six at most
  press_key(Qt::Key_End);
  press_key(Qt::Key_Left);
  press_key(Qt::Key_Left);
  press_delete();
  press_x11_key(query, Qt::Key_Delete);
  EXPECT_EQ(query->text(), QStringLiteral("0000"));
  press_x11_key(query, Qt::Key_A, Qt::ControlModifier);
  press_x11_key(query, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(query->text(), QString());
  QGuiApplication::clipboard()->setText(QStringLiteral("000002"));
  press_x11_key(query, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(query->text(), QStringLiteral("000002"));
  EXPECT_TRUE(cashier.dialogs.shown().empty());

  query->clear();
  QGuiApplication::clipboard()->setText(QStringLiteral("00000.2"));
  press_x11_key(query, Qt::Key_V, Qt::ControlModifier);
  query->paste();
  EXPECT_EQ(query->text(), QString());
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("只可以输入数字。")});
  QGuiApplication::clipboard()->setText(QStringLiteral("000002"));
  press_x11_key(query, Qt::Key_Insert, Qt::ShiftModifier);
  press_key(Qt::Key_Return);
  EXPECT_EQ(shown_goods(), QStringList{QStringLiteral("可乐")});
}

TEST_F(TodayRecords, ReceiptQueryWithoutADayFileFindsNothing) {
  QFile::remove(cashier.shop.state.paths.day_file);
  QLineEdit* query = cashier.text("Text4");
  query->setFocus();
  type_text(QStringLiteral("000001"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("查无此单！")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(cashier.list("List2")->count(), 4);  // the view stays
  EXPECT_TRUE(cashier.find<QTimer>(QStringLiteral("Timer2"))->isActive());
}

TEST_F(TodayRecords, DamagedDayFileIsRestoredFromItsBackup) {
  const QString& day_file = cashier.shop.state.paths.day_file;
  QFile::copy(day_file, cashier.shop.state.paths.day_backup);
  cashier.shop.add_sale({QStringLiteral("面包")});  // not in the backup
  write_bytes(day_file, "SQLite format 3");  // a truncated database
  cashier.window->read_myfile();
  EXPECT_EQ(read_bytes(day_file + QStringLiteral(".bad")), "SQLite format 3");
  EXPECT_EQ(read_bytes(day_file), read_bytes(cashier.shop.state.paths.day_backup));
  EXPECT_EQ(cashier.list("List2")->count(), 4);
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：21.00元"));
  // The user is told once what was done.
  ASSERT_EQ(cashier.dialogs.shown().size(), 1u);
  EXPECT_TRUE(cashier.dialogs.last_message().text.startsWith(QStringLiteral("数据文件已从备份恢复：") + day_file));
  EXPECT_TRUE(cashier.dialogs.last_message().text.contains(QStringLiteral("现有 4 条记录")));
  cashier.dialogs.clear();

  // Without a backup the recovery gives up and the list stays as it was.
  QFile::remove(cashier.shop.state.paths.day_backup);
  write_bytes(day_file, "garbage");
  cashier.list("List2")->clear();
  cashier.window->read_myfile();
  EXPECT_EQ(cashier.dialogs.messages(),
            (QStringList{QStringLiteral("备份数据文件出错。"),
                         QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") + day_file + QStringLiteral("]")}));
  EXPECT_EQ(cashier.list("List2")->count(), 0);
  EXPECT_EQ(read_bytes(day_file), "garbage");
}

TEST_F(TodayRecords, PopupsToolTipsAndRefresh) {
  QListWidget* today = cashier.list("List2");
  auto* popup = cashier.find<QMenu>(QStringLiteral("list2_右击"));
  const QPoint inside = today->visualItemRect(today->item(0)).center();

  // The record commands are available while a line is selected.
  QTest::mousePress(today->viewport(), Qt::RightButton, {}, inside);
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(today->currentRow(), 3);  // the right button does not select
  EXPECT_TRUE(cashier.action("编辑记录")->isEnabled());
  EXPECT_TRUE(cashier.action("删除记录")->isEnabled());
  popup->hide();
  today->clearSelection();
  QTest::mousePress(today->viewport(), Qt::RightButton, {}, inside);
  EXPECT_FALSE(cashier.action("编辑记录")->isEnabled());
  EXPECT_FALSE(cashier.action("删除记录")->isEnabled());
  EXPECT_TRUE(cashier.action("刷新数据")->isEnabled());
  popup->hide();

  // The list's tool tip is its selected line.
  today->setCurrentRow(1);
  QTest::mouseMove(today->viewport(), inside);
  EXPECT_EQ(today->toolTip(), cashier.lines("List2")[1]);

  // The temporary record's popup.
  QListWidget* receipt = cashier.list("List1");
  auto* receipt_popup = cashier.find<QMenu>(QStringLiteral("list1_右击"));
  QTest::mousePress(receipt->viewport(), Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_TRUE(receipt_popup->isVisible());
  EXPECT_FALSE(cashier.action("删除")->isEnabled());
  receipt_popup->hide();

  // 刷新全部数据 shows what the day file holds now, keeping the filter selections.
  pick("Co_查操作员", QStringLiteral("001"));
  cashier.shop.add_sale({QStringLiteral("雪碧")});
  cashier.action("刷新数据")->trigger();
  EXPECT_EQ(today->count(), 5);
  EXPECT_EQ(cashier.label("Label7")->text(), QStringLiteral("操作编号 = *全部*"));
  EXPECT_EQ(cashier.combo("Co_查操作员")->currentText(), QStringLiteral("001"));
}

TEST_F(TodayRecords, ANewSaleContinuesTheShownView) {
  pick("Co_查操作员", QStringLiteral("002"));
  cashier.shop.state.current_operator = QStringLiteral("001");
  cashier.button("Command4")->click();
  cashier.combo("Combo1")->setEditText(QStringLiteral("雪碧"));
  cashier.text("Text2")->setText(QStringLiteral("1.00"));
  cashier.text("Text3")->setText(QStringLiteral("1.00"));
  cashier.button("Command1")->click();
  ASSERT_EQ(cashier.list("List2")->count(), 3);
  EXPECT_TRUE(cashier.lines("List2")[2].startsWith(QStringLiteral("     3    雪碧")));
  // The running total of today grows by the line, whatever the view showed.
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("操作编号 = *全部*"), QStringLiteral("记录数：3"),
                                   QStringLiteral("合计金额：22.00元")}));
}

TEST_F(TodayRecords, EachNewSaleIsNumberedAfterTheViewShown) {
  cashier.shop.state.current_operator = QStringLiteral("001");
  cashier.button("Command4")->click();
  const auto record = [this](const QString& goods) {
    cashier.combo("Combo1")->setEditText(goods);
    cashier.text("Text2")->setText(QStringLiteral("1.00"));
    cashier.text("Text3")->setText(QStringLiteral("1.00"));
    cashier.button("Command1")->click();
    return cashier.lines("List2").last().left(10) + goods;
  };
  pick("Co_查操作员", QStringLiteral("002"));
  EXPECT_EQ(record(QStringLiteral("雪碧")), QStringLiteral("     3    雪碧"));
  EXPECT_EQ(record(QStringLiteral("可乐")), QStringLiteral("     4    可乐"));

  QLineEdit* query = cashier.text("Text4");
  query->setFocus();
  type_text(QStringLiteral("000003"));
  press_key(Qt::Key_Return);
  ASSERT_EQ(cashier.list("List2")->count(), 1);
  EXPECT_EQ(record(QStringLiteral("面包")), QStringLiteral("     2    面包"));

  cashier.window->read_myfile();
  ASSERT_EQ(cashier.list("List2")->count(), 7);
  EXPECT_EQ(record(QStringLiteral("雪碧")), QStringLiteral("     8    雪碧"));
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("操作编号 = *全部*"), QStringLiteral("记录数：8"),
                                   QStringLiteral("合计金额：25.00元")}));
  EXPECT_EQ(cashier.window->today().view().lines(), cashier.lines("List2"));
  EXPECT_TRUE(cashier.dialogs.shown().empty());
}

}  // namespace
}  // namespace tavuro::testing
