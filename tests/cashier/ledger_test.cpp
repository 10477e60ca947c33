// A ledger a shopkeeper can trust, through the cashier window and the windows it opens:
// totals to the fen, every command acting on the very record behind the chosen line, and
// no change without its trace.

#include "cashier_window.h"

#include "reports/frm_doc_print.h"
#include "support/modal_windows.h"

#include <QApplication>
#include <QFile>
#include <QTextEdit>
#include <QTimer>

namespace tavuro::cashier {
namespace {

using testing::CashierWindow;
using testing::on_next_modal;
using testing::press_key;
using testing::type_text;
namespace day = store::day;

const QString kStale = QStringLiteral("该记录已被修改或删除，请刷新后再试。");

template <class T>
T* control(const QWidget* window, const char* name) {
  T* found = window->findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

void click(QWidget* widget) {
  ASSERT_NE(widget, nullptr);
  QTest::mouseClick(widget, Qt::LeftButton);
}

// A line of a list chosen with the mouse.
void click_row(QListWidget* list, int row) {
  ASSERT_NE(list, nullptr);
  ASSERT_LT(row, list->count());
  list->scrollToItem(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

store::FieldValues sale(const QString& goods, const QString& quantity, const QString& price, const QString& amount,
                        const QString& op = QStringLiteral("001"), const QString& receipt = QStringLiteral("000001")) {
  return {{day::kGoods, goods},      {day::kQuantity, quantity},         {day::kPrice, price},
          {day::kAmount, amount},    {day::kOperator, op},               {day::kTime, QStringLiteral("15:05:09")},
          {day::kCustomer, QStringLiteral("散客")}, {day::kReceiptNo, receipt}};
}

class Ledger : public ::testing::Test {
 protected:
  Ledger() {
    shop.shop.state.company_name = QStringLiteral("小王商店");
    shop.shop.state.current_operator = QStringLiteral("001");
    shop.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
    shop.shop.add_operator(QStringLiteral("001"));
    shop.shop.add_operator(QStringLiteral("002"));
  }
  ~Ledger() override {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<reports::frmDoc_print*>(widget) != nullptr) widget->close();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  const QString& day_file() const { return shop.shop.state.paths.day_file; }
  void write(const std::vector<store::FieldValues>& rows) { store::DataFile::open(day_file()).append_all(rows); }
  QStringList stored(const QString& field) const {
    QStringList values;
    for (const store::Record& record : shop.shop.records(day_file())) values << record.value(field);
    return values;
  }

  // What the window manager does when a modal window closes: the cashier window is the
  // active one again (the offscreen screen has no window manager).
  void back_to_cashier() {
    shop.window->activateWindow();
    EXPECT_TRUE(testing::wait_until([this] { return QApplication::activeWindow() == shop.window.get(); }));
  }
  // A new receipt (创建单号), with the focus in the goods box.
  void new_receipt() {
    click(shop.button("Command4"));
    ASSERT_EQ(shop.focused(), shop.combo("Combo1"));
  }
  // A line sold from the keyboard: goods, quantity, price, and the amount as computed or,
  // when one is given, typed over; then 临时记录.
  void sell(const QString& goods, const QString& quantity, const QString& price, const QString& amount = {}) {
    type_text(goods);
    press_key(Qt::Key_Return);
    ASSERT_EQ(shop.focused(), shop.text("Text1"));
    type_text(quantity);
    press_key(Qt::Key_Return);
    ASSERT_EQ(shop.focused(), shop.text("Text2"));
    shop.text("Text2")->selectAll();
    type_text(price);
    press_key(Qt::Key_Return);
    ASSERT_EQ(shop.focused(), shop.text("Text3"));
    if (!amount.isEmpty()) shop.text("Text3")->setText(amount);
    press_key(Qt::Key_Return);
    ASSERT_EQ(shop.focused(), shop.button("Command1"));
    press_key(Qt::Key_Return);
  }
  // 删除 on the selected line of the receipt, answered Yes.
  void delete_receipt_line(int row) {
    shop.list("List1")->setCurrentRow(row);
    shop.dialogs.answer_yes();
    shop.action("删除")->trigger();
  }
  // 编辑记录 on a line of today's list; the texts of the seven boxes of the window it
  // opens, which is then closed (nothing when no window opens).
  QStringList edit_boxes(int row) {
    shop.list("List2")->setCurrentRow(row);
    QStringList boxes;
    on_next_modal([&boxes](QWidget* window) {
      for (int n = 1; n <= 7; ++n) boxes << window->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n))->text();
      window->close();
    });
    shop.action("编辑记录")->trigger();
    return boxes;
  }
  // 编辑记录 on a line of today's list when no window is to open: how many did.
  int windows_opened_by_edit(int row) {
    shop.list("List2")->setCurrentRow(row);
    int opened = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&opened] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ++opened;
        modal->close();
      }
    });
    poll.start(5);
    shop.action("编辑记录")->trigger();
    QApplication::processEvents();
    return opened;
  }

  CashierWindow shop;
};

struct ExactCase {
  int lines;
  const char* quantity;
  const char* price;
  const char* amount;
  const char* total;
};

TEST(LedgerTotals, TodaysListAndTheDayReportAddUpToTheFen) {
  // Added up in single precision these showed 994.99, 137014.20 and 99.99 (both columns).
  const ExactCase cases[] = {
      {500, "1.00", "1.99", "1.99", "995.00"},
      {3000, "1.00", "45.67", "45.67", "137010.00"},
      {1000, "0.10", "1.00", "0.10", "100.00"},
  };
  for (const ExactCase& c : cases) {
    SCOPED_TRACE(c.lines);
    CashierWindow shop;
    shop.shop.state.company_name = QStringLiteral("小王商店");
    shop.shop.add_goods(QStringLiteral("可乐"), QString::fromLatin1(c.price));
    shop.shop.add_operator(QStringLiteral("001"));
    std::vector<store::FieldValues> rows(static_cast<size_t>(c.lines),
                                         sale(QStringLiteral("可乐"), QString::fromLatin1(c.quantity),
                                              QString::fromLatin1(c.price), QString::fromLatin1(c.amount)));
    store::DataFile::open(shop.shop.state.paths.day_file).append_all(rows);
    shop.open();
    const QString total = QString::fromLatin1(c.total);
    EXPECT_EQ(shop.label("Label5")->text(), QStringLiteral("合计金额：") + total + QStringLiteral("元"));

    click(shop.button("Com_打印"));
    QString report;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* doc = qobject_cast<reports::frmDoc_print*>(widget); doc && doc->isVisible()) {
        report = doc->editor()->toPlainText();
        doc->close();
      }
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The goods row and total, the operator's row and total (and the quantity of 0.10s).
    const bool tenths = QString::fromLatin1(c.quantity) == QStringLiteral("0.10");
    EXPECT_EQ(report.count(QStringLiteral(" ") + total + QStringLiteral(" ")), tenths ? 5 : 4) << report.toStdString();
    EXPECT_EQ(report.count(QStringLiteral(" ") + total + QStringLiteral(" （元）")), 2) << report.toStdString();
    if (tenths) {
      // The quantity column adds up the same way.
      const QStringList rows_shown = report.split(QLatin1Char('\n')).filter(QStringLiteral("可乐"));
      ASSERT_EQ(rows_shown.size(), 1);
      EXPECT_EQ(rows_shown[0].count(QStringLiteral("100.00")), 2) << rows_shown[0].toStdString();
    }
  }
}

TEST_F(Ledger, TheReceiptTotalIsExact) {
  shop.open();
  new_receipt();
  // An amount typed over by hand, of the ten digits its box takes, and a cent more.
  sell(QStringLiteral("可乐"), QStringLiteral("1"), QStringLiteral("2.50"), QStringLiteral("1234567.89"));
  sell(QStringLiteral("可乐"), QStringLiteral("1"), QStringLiteral("2.50"), QStringLiteral("0.01"));
  EXPECT_EQ(shop.lines("List1").size(), 2);
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("1234567.90元"));  // was 1234568.00元
  EXPECT_EQ(shop.label("Label5")->text(), QStringLiteral("合计金额：1234567.90元"));
}

TEST_F(Ledger, DeletingAReceiptLineTakesExactlyTheRecordItWrote) {
  // An earlier receipt sold the same goods in the same second.
  write({sale(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50"),
              QStringLiteral("001"), QStringLiteral("000001"))});
  shop.shop.state.receipt_counter = 1;
  shop.open();
  new_receipt();
  sell(QStringLiteral("可乐"), QStringLiteral("2"), QStringLiteral("2.50"));
  ASSERT_EQ(stored(day::kReceiptNo), (QStringList{QStringLiteral("000001"), QStringLiteral("000002")}));
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("5.00元"));

  delete_receipt_line(0);
  EXPECT_EQ(stored(day::kReceiptNo), QStringList{QStringLiteral("000001")});
  EXPECT_TRUE(shop.lines("List1").isEmpty());
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("0.00元"));
  EXPECT_EQ(shop.lines("List2").size(), 1);
}

TEST_F(Ledger, GoodsTypedWithATrailingSpaceLeaveTheDayFileWhenTheirLineIsDeleted) {
  shop.open();
  new_receipt();
  sell(QStringLiteral("可乐 "), QStringLiteral("1"), QStringLiteral("2.50"));
  ASSERT_EQ(stored(day::kGoods), QStringList{QStringLiteral("可乐 ")});
  delete_receipt_line(0);
  EXPECT_TRUE(stored(day::kGoods).isEmpty());
  EXPECT_TRUE(shop.lines("List1").isEmpty());
  EXPECT_TRUE(shop.lines("List2").isEmpty());
}

TEST_F(Ledger, EditingALineOfAFilteredViewOpensThatLinesRecord) {
  write({sale(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50"),
              QStringLiteral("001"), QStringLiteral("000001")),
         sale(QStringLiteral("可乐"), QStringLiteral("3.00"), QStringLiteral("2.50"), QStringLiteral("7.50"),
              QStringLiteral("002"), QStringLiteral("000002"))});
  shop.open();
  QComboBox* filter = shop.combo("Co_查操作员");
  filter->setCurrentIndex(filter->findText(QStringLiteral("002")));
  Q_EMIT filter->activated(filter->currentIndex());
  ASSERT_EQ(shop.lines("List2").size(), 1);
  const QStringList boxes = edit_boxes(0);
  ASSERT_EQ(boxes.size(), 7);
  EXPECT_EQ(boxes[0], QStringLiteral("000002"));
  EXPECT_EQ(boxes[5], QStringLiteral("7.50"));

  // The receipt view's line is its record too.
  shop.text("Text4")->setText(QStringLiteral("000001"));
  press_key(shop.text("Text4"), Qt::Key_Return);
  ASSERT_EQ(shop.lines("List2").size(), 1);
  EXPECT_EQ(edit_boxes(0).value(5), QStringLiteral("2.50"));
}

TEST_F(Ledger, LinesFromTenThousandOnOpenTheirRecords) {
  std::vector<store::FieldValues> rows;
  for (int n = 1; n <= 10001; ++n) {
    rows.push_back(sale(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50"),
                        QStringLiteral("001"), QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'))));
  }
  write(rows);
  shop.open();
  ASSERT_EQ(shop.lines("List2").size(), 10001);
  EXPECT_EQ(edit_boxes(9999).value(0), QStringLiteral("010000"));
  EXPECT_EQ(edit_boxes(10000).value(0), QStringLiteral("010001"));
  EXPECT_EQ(edit_boxes(9998).value(0), QStringLiteral("009999"));
}

TEST_F(Ledger, TheGoodsWindowShowsAndDeletesTheChosenOfTwoGoodsOfOneName) {
  shop.shop.add_goods(QStringLiteral("面包"), QStringLiteral("4.00"));
  shop.shop.add_goods(QStringLiteral("面包"), QStringLiteral("5.00"));
  shop.open();
  QString shown;
  on_next_modal([&](QWidget* window) {
    QListWidget* list = control<QListWidget>(window, "List1");
    click_row(list, 3);  // the header, 可乐, 面包 4.00, 面包 5.00
    shown = control<QLineEdit>(window, "Text2")->text();
    shop.dialogs.answer_yes();
    click(control<QPushButton>(window, "Command2"));
    click(control<QPushButton>(window, "Command3"));
  });
  shop.action("注册商品")->trigger();
  EXPECT_EQ(shown, QStringLiteral("5.00"));
  QStringList goods;
  for (const store::Record& record : shop.shop.records(shop.shop.state.paths.shop_file)) {
    goods << record.value(store::shop::kGoods) + QLatin1Char('=') + record.value(store::shop::kPrice);
  }
  EXPECT_EQ(goods, (QStringList{QStringLiteral("可乐=2.50"), QStringLiteral("面包=4.00")}));
}

TEST_F(Ledger, TheOperatorChosenFromTheListSellsUnderItsNameAlone) {
  shop.shop.state.current_operator.clear();
  shop.open();
  on_next_modal([](QWidget* window) {
    click_row(control<QListWidget>(window, "List1"), 0);  // "001   ", padded to its column
    click(control<QPushButton>(window, "Command1"));
  });
  shop.action("输入操作员")->trigger();
  EXPECT_EQ(shop.shop.state.current_operator, QStringLiteral("001"));
  EXPECT_EQ(shop.dialogs.last_message().text, QStringLiteral("你的操作员姓名或编号 [001] 开始使用!"));

  back_to_cashier();
  new_receipt();
  sell(QStringLiteral("可乐"), QStringLiteral("1"), QStringLiteral("2.50"));
  EXPECT_EQ(stored(day::kOperator), QStringList{QStringLiteral("001")});
  QComboBox* filter = shop.combo("Co_查操作员");
  filter->setCurrentIndex(filter->findText(QStringLiteral("001")));
  Q_EMIT filter->activated(filter->currentIndex());
  EXPECT_EQ(shop.lines("List2").size(), 1);
  EXPECT_EQ(shop.label("Label5")->text(), QStringLiteral("合计金额：2.50元"));
}

TEST_F(Ledger, ThePendingGoodsNameIsGoneOnceHandedBack) {
  shop.open();
  new_receipt();
  type_text(QStringLiteral("雪碧"));
  shop.dialogs.answer_yes();
  on_next_modal([](QWidget* window) {
    control<QLineEdit>(window, "Text2")->setText(QStringLiteral("3.00"));
    click(control<QPushButton>(window, "Command1"));
    click(control<QPushButton>(window, "Command3"));
  });
  press_key(Qt::Key_Return);
  EXPECT_EQ(shop.combo("Combo1")->currentText(), QStringLiteral("雪碧"));

  // Later the goods window is opened from the menu and closed again.
  shop.combo("Combo1")->setEditText(QStringLiteral("可乐"));
  on_next_modal([](QWidget* window) { click(control<QPushButton>(window, "Command3")); });
  shop.action("注册商品")->trigger();
  EXPECT_NE(shop.combo("Combo1")->currentText(), QStringLiteral("雪碧"));
}

TEST_F(Ledger, ACorrectionIsInTheBackupSoARecoveryFromItKeepsIt) {
  write({sale(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50"))});
  shop.open();
  shop.list("List2")->setCurrentRow(0);
  on_next_modal([](QWidget* window) {
    control<QLineEdit>(window, "Text6")->setText(QStringLiteral("9.99"));
    click(control<QPushButton>(window, "Command1"));
    click(control<QPushButton>(window, "Command3"));
  });
  shop.action("编辑记录")->trigger();
  EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.day_backup), testing::read_bytes(day_file()));

  // The day file is damaged; today's list is read again from the backup.
  testing::write_bytes(day_file(), "damaged");
  shop.action("刷新数据")->trigger();
  ASSERT_EQ(shop.lines("List2").size(), 1);
  EXPECT_TRUE(shop.lines("List2")[0].contains(QStringLiteral("      9.99    ")));
  EXPECT_EQ(shop.label("Label5")->text(), QStringLiteral("合计金额：9.99元"));
}

TEST_F(Ledger, ALineWhoseRecordChangedSinceItWasShownIsToldOfAndChangesNothing) {
  shop.open();
  new_receipt();
  sell(QStringLiteral("可乐"), QStringLiteral("1"), QStringLiteral("2.50"));
  // The line's record is corrected in the edit window; both lists still show it as it was.
  shop.list("List2")->setCurrentRow(0);
  on_next_modal([](QWidget* window) {
    control<QLineEdit>(window, "Text4")->setText(QStringLiteral("2.00"));
    click(control<QPushButton>(window, "Command1"));
    click(control<QPushButton>(window, "Command3"));
  });
  shop.action("编辑记录")->trigger();
  const QByteArray corrected = testing::read_bytes(day_file());

  shop.dialogs.clear();
  delete_receipt_line(0);
  EXPECT_EQ(shop.dialogs.last_message().text, kStale);
  EXPECT_EQ(testing::read_bytes(day_file()), corrected);
  EXPECT_EQ(shop.lines("List1").size(), 1);
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("2.50元"));

  // 编辑记录 on the old line of today's list opens no window.
  shop.dialogs.clear();
  EXPECT_EQ(windows_opened_by_edit(0), 0);
  EXPECT_EQ(shop.dialogs.messages(), QStringList{kStale});
  // Read again, the line is its record as it is now.
  shop.action("刷新数据")->trigger();
  EXPECT_EQ(edit_boxes(0).value(3), QStringLiteral("2.00"));
}

TEST_F(Ledger, AChangeThatCannotGoIntoTheJournalIsNotMade) {
  testing::write_bytes(shop.shop.state.paths.month_folder + QStringLiteral("/journal.db"), QByteArray(4096, 'x'));
  shop.open();
  const QByteArray before = testing::read_bytes(day_file());
  new_receipt();
  sell(QStringLiteral("可乐"), QStringLiteral("1"), QStringLiteral("2.50"));
  EXPECT_EQ(shop.dialogs.last_message().text, QStringLiteral("写修改记录时出错，这次修改没有保存。[journal.db]"));
  EXPECT_EQ(testing::read_bytes(day_file()), before);
  EXPECT_TRUE(shop.lines("List1").isEmpty());
  EXPECT_TRUE(shop.lines("List2").isEmpty());
}

TEST_F(Ledger, CorrectionsAndDeletionsAreInTheJournalWindow) {
  write({sale(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")),
         sale(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50"),
              QStringLiteral("001"), QStringLiteral("000002"))});
  shop.open();
  shop.list("List2")->setCurrentRow(0);
  on_next_modal([](QWidget* window) {
    control<QLineEdit>(window, "Text6")->setText(QStringLiteral("3.00"));
    click(control<QPushButton>(window, "Command1"));
    click(control<QPushButton>(window, "Command3"));
  });
  shop.action("编辑记录")->trigger();
  shop.list("List2")->setCurrentRow(1);
  shop.dialogs.answer_yes();
  on_next_modal([](QWidget* window) { click(control<QPushButton>(window, "Command2")); });
  shop.action("删除记录")->trigger();

  QAction* journal = shop.window->findChild<QAction*>(QStringLiteral("修改记录"));
  ASSERT_NE(journal, nullptr) << "no journal window in the menu";
  QStringList listed;
  on_next_modal([&listed](QWidget* window) {
    QListWidget* list = control<QListWidget>(window, "List1");
    for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
    window->close();
  });
  journal->trigger();
  ASSERT_EQ(listed.filter(QStringLiteral("修改")).size(), 1) << listed.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(listed.filter(QStringLiteral("修改"))[0].contains(QStringLiteral("金额 2.50 → 3.00")));
  EXPECT_EQ(listed.filter(QStringLiteral("删除")).size(), 1);
}

}  // namespace
}  // namespace tavuro::cashier
