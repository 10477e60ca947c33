// Sale entry in the cashier window: the checks of 临时记录 with their messages in order,
// the key and focus rules of the entry boxes, and the failures of recording and printing.

#include "cashier_window.h"
#include "catalogues/operator_window.h"
#include "support/modal_windows.h"

#include "platform/line_printer.h"
#include "platform/text_file.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

using platform::Icon;

class SaleEntryWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    cashier.shop.add_goods(QStringLiteral("可口可乐大瓶装三"), QStringLiteral("3.33"));
    cashier.shop.add_goods(QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("1.25"));
    cashier.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
    cashier.shop.add_customer(QStringLiteral("王先生"));
    cashier.shop.state.current_operator = QStringLiteral("001");
    cashier.open();
    cashier.button("Command4")->click();
    ASSERT_EQ(cashier.focused(), cashier.combo("Combo1"));
  }

  // Fills the entry boxes as they stand before 临时记录 and clicks it; returns the
  // messages it showed.
  QStringList record(const QString& goods, const QString& quantity, const QString& price, const QString& amount) {
    // The focus goes to the button first, so that no box runs its leaving rules on the
    // texts of the case.
    for (const char* box : {"Text1", "Text2", "Text3"}) cashier.text(box)->setText(QStringLiteral("1.00"));
    cashier.button("Command1")->setFocus();
    cashier.combo("Combo1")->setEditText(goods);
    cashier.text("Text1")->setText(quantity);
    cashier.text("Text2")->setText(price);
    cashier.text("Text3")->setText(amount);
    cashier.dialogs.clear();
    cashier.button("Command1")->click();
    return cashier.dialogs.messages();
  }
  int recorded() { return static_cast<int>(cashier.shop.records(cashier.shop.state.paths.day_file).size()); }

  CashierWindow cashier;
};

TEST_F(SaleEntryWindow, EachCheckOfALineWithItsMessage) {
  const QString too_wide = QStringLiteral("“选商品”只可以最多使用8个中文字或16个英文字符，否则数据出错！");
  EXPECT_EQ(record(QStringLiteral("  "), QStringLiteral("1.00"), QStringLiteral("1.00"), QStringLiteral("1.00")),
            QStringList{QStringLiteral("你忘记了选取商品。")});
  EXPECT_EQ(cashier.focused(), cashier.combo("Combo1"));
  EXPECT_EQ(record(QStringLiteral("可口可乐大瓶装三九"), QStringLiteral("1.00"), QString(), QString()),
            QStringList{too_wide});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Exclamation);
  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOPQ"), QStringLiteral("1.00"), QString(), QString()),
            QStringList{too_wide});

  // Width 16 passes the width check; an unregistered name is offered for registration.
  cashier.dialogs.answer_no();
  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOQ"), QStringLiteral("1.00"), QString(), QString()),
            QStringList{QStringLiteral("你输入的商品 [ABCDEFGHIJKLMNOQ] 还未注册，是否要现在注册吗？")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(cashier.dialogs.last_message().buttons, platform::Buttons::YesNo);

  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("123456.78"), QString(), QString()),
            QStringList{QStringLiteral("[数量]数据出错，请重新启动软件。")});
  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("12345.67"), QString(), QString()),
            QStringList{QStringLiteral("“单价”你还未输入数据！")});
  EXPECT_EQ(cashier.focused(), cashier.text("Text2"));
  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("1.00"), QStringLiteral("123456.78"), QString()),
            QStringList{QStringLiteral("[单价]数据出错，请重新启动软件。")});
  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("1.00"), QStringLiteral("1.25"), QString()),
            QStringList{QStringLiteral("“金额”还未自动算出！")});
  EXPECT_EQ(cashier.focused(), cashier.text("Text2"));
  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("1.00"), QStringLiteral("1.25"),
                   QStringLiteral("12345678.90")),
            QStringList{QStringLiteral("[金额]数据出错，请重新启动软件。")});

  cashier.shop.state.current_operator.clear();
  close_when_opened<catalogues::Frm_输入操作>();  // opened after the message
  EXPECT_EQ(record(QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("1.00"), QStringLiteral("1.25"),
                   QStringLiteral("1.25")),
            QStringList{QStringLiteral("你忘记了选操作员或编号；如果你还未加入，请先加入后使用。")});
  EXPECT_EQ(recorded(), 0);
  EXPECT_EQ(cashier.list("List1")->count(), 0);

  // The widest of everything still records.
  cashier.shop.state.current_operator = QStringLiteral("王老五");
  EXPECT_EQ(record(QStringLiteral("可口可乐大瓶装三"), QStringLiteral("12345.67"), QStringLiteral("99999.99"),
                   QStringLiteral("1234567.00")),
            QStringList{});
  EXPECT_EQ(recorded(), 1);
}

TEST_F(SaleEntryWindow, OperatorWiderThanSixEndsTheProgram) {
  cashier.shop.state.current_operator = QStringLiteral(" ABCDEFG ");
  EXPECT_EQ(record(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")),
            QStringList{QStringLiteral("[操作]员数据出错，请重新启动软件。")});
  EXPECT_FALSE(cashier.window->isVisible());
  EXPECT_EQ(recorded(), 0);
}

TEST_F(SaleEntryWindow, AmountIsComputedWhenLeavingThePrice) {
  const struct {
    const char* goods;
    const char* quantity;
    const char* amount;
  } cases[] = {{"可口可乐大瓶装三", "3", "9.99"}, {"ABCDEFGHIJKLMNOP", "1.5", "1.87"}};
  for (const auto& c : cases) {
    cashier.combo("Combo1")->setFocus();
    type_text(QString::fromUtf8(c.goods));
    press_key(Qt::Key_Return);
    type_text(QString::fromUtf8(c.quantity));
    press_key(Qt::Key_Return);
    press_key(Qt::Key_Tab);
    EXPECT_EQ(cashier.text("Text3")->text(), QString::fromUtf8(c.amount)) << c.goods;
    cashier.combo("Combo1")->setEditText(QString());
  }
  // Changing only the quantity leaves the amount; an amount typed by hand is taken as is.
  cashier.text("Text1")->setFocus();
  type_text(QStringLiteral("4"));
  press_key(Qt::Key_Tab);
  EXPECT_EQ(cashier.text("Text1")->text(), QStringLiteral("4.00"));
  EXPECT_EQ(cashier.text("Text3")->text(), QStringLiteral("1.87"));
  cashier.combo("Combo1")->setEditText(QStringLiteral("可乐"));
  cashier.text("Text3")->setFocus();
  cashier.text("Text3")->selectAll();
  type_text(QStringLiteral("8.8"));
  press_key(Qt::Key_Return);
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.shop.records(cashier.shop.state.paths.day_file).at(0).value(store::day::kAmount),
            QStringLiteral("8.8"));
  EXPECT_TRUE(cashier.dialogs.shown().empty());
}

TEST_F(SaleEntryWindow, KeyAndFocusRulesOfTheBoxes) {
  QLineEdit* quantity = cashier.text("Text1");
  quantity->setFocus();
  type_text(QStringLiteral("a"));
  EXPECT_EQ(quantity->text(), QStringLiteral("1.00"));
  ASSERT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("只可以输入数字与小数点。")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Critical);

  // Enter on an empty box keeps the focus; leaving it empty takes the focus back.
  cashier.dialogs.clear();
  quantity->clear();
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.focused(), quantity);
  press_key(Qt::Key_Tab);
  EXPECT_EQ(cashier.focused(), quantity);
  EXPECT_EQ(cashier.dialogs.messages(),
            (QStringList{QStringLiteral("你还未输入数据！"), QStringLiteral("你还未输入数据！")}));
  type_text(QStringLiteral("7"));
  press_key(Qt::Key_Tab);
  EXPECT_EQ(quantity->text(), QStringLiteral("7.00"));

  cashier.dialogs.clear();
  QLineEdit* price = cashier.text("Text2");
  price->clear();
  press_key(Qt::Key_Tab);
  EXPECT_EQ(cashier.focused(), price);
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("“单价”你还未输入数据！")});
  type_text(QStringLiteral(".5"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(price->text(), QStringLiteral("0.50"));
  EXPECT_EQ(cashier.text("Text3")->text(), QStringLiteral("3.50"));

  cashier.dialogs.clear();
  cashier.text("Text3")->clear();
  type_text(QStringLiteral("x"));
  press_key(Qt::Key_Tab);
  EXPECT_EQ(cashier.dialogs.messages(),
            (QStringList{QStringLiteral("只可以输入数字与小数点。"), QStringLiteral("金额数据不能等于空！")}));
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Exclamation);
  EXPECT_EQ(cashier.focused(), price);
  EXPECT_EQ(price->selectedText(), QStringLiteral("0.50"));
}

// Editing keys and shortcuts are no typed characters: they edit the number boxes as in
// any text box, on X11 (where Delete carries U+007F) as on any other keyboard. A paste is
// checked as typing is.
TEST_F(SaleEntryWindow, EditingKeysAndShortcutsWorkInTheNumberBoxesAndAPasteIsChecked) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  for (const char* name : {"Text1", "Text2", "Text3"}) {
    QLineEdit* box = cashier.text(name);
    box->setFocus();  // the box left computes the amount: the text is set after
    box->setText(QStringLiteral("12.50"));
    press_key(Qt::Key_Home);
    press_delete();
    press_x11_key(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral(".50")) << name;
    press_x11_key(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), QStringLiteral(".50")) << name;
    press_x11_key(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral(".50")) << name;
    press_x11_key(box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QString()) << name;
    press_x11_key(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral(".50")) << name;
    clipboard->setText(QStringLiteral("3"));
    press_key(Qt::Key_End);
    press_x11_key(box, Qt::Key_V, Qt::ControlModifier);
    press_x11_key(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->text(), QStringLiteral(".5033")) << name;
    EXPECT_TRUE(cashier.dialogs.shown().empty()) << name;

    // Other characters in a paste refuse it whole, with the box's message; pasting them
    // in another way (as the mouse does) is refused too.
    clipboard->setText(QStringLiteral("4元"));
    press_x11_key(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral(".5033")) << name;
    EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("只可以输入数字与小数点。")}) << name;
    EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Critical);
    box->paste();
    box->insert(QStringLiteral("-1"));
    EXPECT_EQ(box->text(), QStringLiteral(".5033")) << name;
    cashier.dialogs.clear();
    box->setText(QStringLiteral("1.00"));
  }
}

// The goods box: a change of the name by any key makes its price start at zero again; a
// key that changes nothing leaves the price.
TEST_F(SaleEntryWindow, AnyChangeOfTheGoodsNameResetsThePriceAndNothingElseDoes) {
  QComboBox* goods = cashier.combo("Combo1");
  QLineEdit* price = cashier.text("Text2");
  goods->setEditText(QStringLiteral("可乐"));
  cashier.window->find_price();
  ASSERT_EQ(price->text(), QStringLiteral("2.50"));
  press_key(Qt::Key_End);
  press_x11_key(goods, Qt::Key_Delete);  // nothing after the cursor
  press_x11_key(goods, Qt::Key_A, Qt::ControlModifier);
  press_x11_key(goods, Qt::Key_C, Qt::ControlModifier);
  press_key(Qt::Key_Left);
  EXPECT_EQ(price->text(), QStringLiteral("2.50"));
  press_key(Qt::Key_Home);
  press_x11_key(goods, Qt::Key_Delete);
  EXPECT_EQ(goods->currentText(), QStringLiteral("乐"));
  EXPECT_EQ(price->text(), QStringLiteral("0"));

  for (const Qt::Key shortcut : {Qt::Key_X, Qt::Key_V}) {
    QGuiApplication::clipboard()->setText(QStringLiteral("雪碧"));
    goods->setEditText(QStringLiteral("可乐"));
    price->setText(QStringLiteral("2.50"));
    goods->lineEdit()->selectAll();
    press_x11_key(goods, shortcut, Qt::ControlModifier);
    EXPECT_EQ(price->text(), QStringLiteral("0")) << "Ctrl+" << char('A' + (shortcut - Qt::Key_A));
  }
  EXPECT_EQ(goods->currentText(), QStringLiteral("雪碧"));
  price->setText(QStringLiteral("2.50"));
  press_x11_key(goods, Qt::Key_Z, Qt::ControlModifier);  // the paste undone
  EXPECT_EQ(goods->currentText(), QStringLiteral("可乐"));
  EXPECT_EQ(price->text(), QStringLiteral("0"));
  EXPECT_TRUE(cashier.dialogs.shown().empty());
}

TEST_F(SaleEntryWindow, GoodsAndCustomerBoxes) {
  QComboBox* goods = cashier.combo("Combo1");
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("你忘记了选商品！")});
  EXPECT_EQ(cashier.focused(), goods);

  // An unregistered name is offered; the focus stays.
  cashier.dialogs.clear();
  cashier.dialogs.answer_no();
  type_text(QStringLiteral("雪碧 "));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.dialogs.messages(),
            QStringList{QStringLiteral("你输入的商品 [雪碧] 还未注册，是否要现在注册吗？")});
  EXPECT_EQ(cashier.focused(), goods);

  // A price already entered is kept on Enter; picking an item looks its price up.
  cashier.dialogs.clear();
  goods->setEditText(QStringLiteral("可乐"));
  cashier.text("Text2")->setText(QStringLiteral("9.00"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("9.00"));
  goods->setFocus();
  press_key(Qt::Key_Down);  // an item of the list chosen, as with a click on it
  EXPECT_EQ(goods->currentText(), QStringLiteral("可口可乐大瓶装三"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("3.33"));
  goods->setEditText(QStringLiteral("可乐"));
  cashier.text("Text2")->setText(QStringLiteral("0.00"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("2.50"));

  // The customer box: Enter goes to the goods; leaving it with an unknown name asks.
  QComboBox* customer = cashier.combo("Combo2");
  customer->setFocus();
  type_text(QStringLiteral("王先生"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.focused(), goods);
  EXPECT_TRUE(cashier.dialogs.shown().empty());
  customer->setFocus();
  customer->setEditText(QStringLiteral("李小姐"));
  cashier.dialogs.answer_no();
  press_key(Qt::Key_Tab);
  EXPECT_EQ(cashier.dialogs.messages(),
            QStringList{QStringLiteral("你输入的客户名 [李小姐] 还未注册，是否要注册为固定客户吗？")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Information);
  EXPECT_TRUE(cashier.window->sale_entry().check_customer(QStringLiteral("  ")));
  EXPECT_TRUE(cashier.window->sale_entry().check_customer(QStringLiteral("王先生")));
}

TEST_F(SaleEntryWindow, ALineTheDayFileDoesNotTakeIsWithdrawn) {
  ASSERT_EQ(record(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")),
            QStringList{});
  const QStringList today = cashier.lines("List2");
  // The day file is damaged and its backup gone: the recovery gives up.
  write_bytes(cashier.shop.state.paths.day_file, "damaged");
  QFile::remove(cashier.shop.state.paths.day_backup);
  const QString day_file = cashier.shop.state.paths.day_file;
  EXPECT_EQ(record(QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"), QStringLiteral("5.00")),
            (QStringList{QStringLiteral("备份数据文件出错。"),
                         QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") + day_file + QStringLiteral("]")}));
  EXPECT_EQ(cashier.list("List1")->count(), 1);
  EXPECT_EQ(cashier.lines("List2"), today);
  EXPECT_EQ(cashier.shop.state.temp_line_count, 1);
  EXPECT_EQ(cashier.shop.state.temp_total.text(), QStringLiteral("2.50"));
  EXPECT_EQ(cashier.label("Label4")->text(), QStringLiteral("2.50元"));
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：2.50元"));
  EXPECT_EQ(cashier.text("Text3")->text(), QStringLiteral("5.00"));  // the entry stays for another try

  // Once the day file is sound again the same line records as the receipt's second.
  QFile::remove(day_file);
  cashier.shop.add_sale({QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")});
  cashier.dialogs.clear();
  cashier.button("Command1")->click();
  EXPECT_TRUE(cashier.dialogs.shown().empty());
  EXPECT_TRUE(cashier.lines("List1").at(1).startsWith(QStringLiteral("  0002")));
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：7.50元"));
}

TEST_F(SaleEntryWindow, ARecoveryDuringASaleIsToldOnceAndTheSaleGoesOn) {
  ASSERT_EQ(record(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")),
            QStringList{});
  const QString day_file = cashier.shop.state.paths.day_file;
  write_bytes(day_file, "damaged");  // the backup holds the first line
  const QStringList told =
      record(QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"), QStringLiteral("5.00"));
  ASSERT_EQ(told.size(), 1) << told.join(QStringLiteral(" | ")).toStdString();
  EXPECT_TRUE(told.front().startsWith(QStringLiteral("数据文件已从备份恢复：") + day_file));
  EXPECT_TRUE(told.front().contains(QStringLiteral("文件现有 2 条记录")));
  EXPECT_EQ(read_bytes(day_file + QStringLiteral(".bad")), "damaged");
  // The receipt keeps both lines and its total; the next line records without a word.
  EXPECT_EQ(cashier.list("List1")->count(), 2);
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：7.50元"));
  EXPECT_EQ(record(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")),
            QStringList{});
  EXPECT_EQ(cashier.list("List1")->count(), 3);
  EXPECT_EQ(recorded(), 3);
}

TEST_F(SaleEntryWindow, ReceiptNumberFailureLeavesNoReceiptState) {
  cashier.button("Command2")->setEnabled(true);
  cashier.button("Command2")->click();
  const qint32 before = cashier.shop.state.receipt_counter;
  QFile::remove(cashier.shop.state.paths.nober_file);
  cashier.button("Command4")->click();
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("写单号文件时出错.[w_no_file]")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Exclamation);
  EXPECT_TRUE(cashier.button("Command4")->isEnabled());
  EXPECT_FALSE(cashier.combo("Combo1")->isEnabled());
  EXPECT_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:000001"));

  // The next number issued skips the one that failed.
  ASSERT_TRUE(platform::write_one_line_file(cashier.shop.state.paths.nober_file, QStringLiteral("1")));
  cashier.button("Command4")->click();
  EXPECT_EQ(cashier.shop.state.receipt_counter, before + 2);
  EXPECT_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:000003"));
  EXPECT_EQ(platform::read_first_line(cashier.shop.state.paths.nober_file), QStringLiteral("3"));

  cashier.shop.state.receipt_counter = 1234567;
  cashier.button("Command2")->setEnabled(true);
  cashier.button("Command2")->click();
  cashier.button("Command4")->click();
  EXPECT_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:1234568"));
  EXPECT_EQ(platform::read_first_line(cashier.shop.state.paths.nober_file), QStringLiteral("1234568"));
}

TEST_F(SaleEntryWindow, AReceiptNotPrintedIsToldAndPrintingStaysOff) {
  platform::ScopedLinePrinterFactory printer([] { return std::make_unique<NoPrinter>(); });
  ASSERT_EQ(record(QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")),
            QStringList{});
  cashier.button("Command3")->click();
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("收据未能打印：没有可用的打印机，或打印任务未能开始。")});
  EXPECT_EQ(cashier.dialogs.last_message().icon, Icon::Exclamation);
  EXPECT_FALSE(cashier.button("Command3")->isEnabled());
}

}  // namespace
}  // namespace tavuro::testing
