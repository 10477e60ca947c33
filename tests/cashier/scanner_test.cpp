// A barcode scanner at the counter, through the real window: the scanner's keys are posted
// 5 ms apart and delivered by the event loop, carrying event times of their own, so that
// what the window makes of them does not depend on how fast the machine is.

#include "cashier_window.h"
#include "catalogues/goods_code.h"
#include "catalogues/goods_window.h"
#include "support/modal_windows.h"

#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

using namespace std::chrono_literals;

// An EAN-13 with a right check digit, made from a number.
QString ean13(int number) {
  const QString digits = QStringLiteral("690123%1").arg(number, 6, 10, QLatin1Char('0'));
  return digits + QString::number(catalogues::check_digit(digits));
}

class Scanner : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 20; ++i) {
      cashier.shop.add_goods(QStringLiteral("货品%1").arg(i), QStringLiteral("%1.50").arg(i + 1), ean13(i));
    }
    cashier.shop.add_goods(QStringLiteral("散装糖"), QStringLiteral("8.00"));  // a goods without a code
    cashier.shop.add_customer(QStringLiteral("王先生"));
    cashier.shop.state.current_operator = QStringLiteral("001");
  }
  void open_receipt() {
    cashier.open();
    cashier.button("Command4")->click();
    ASSERT_EQ(cashier.focused(), cashier.combo("Combo1"));
  }
  void scan(const QString& code) { scan_text(code + QLatin1Char('\n')); }
  QStringList recorded(const QString& field) const {
    QStringList values;
    for (const auto& record : cashier.shop.records(cashier.shop.state.paths.day_file)) values << record.value(field);
    return values;
  }

  CashierWindow cashier;
};

TEST_F(Scanner, TwentyScansInARowAreEachRecordedAsOnePiece) {
  open_receipt();
  QStringList goods;
  QStringList prices;
  for (int i = 0; i < 20; ++i) {
    // Every other goods twice in a row: a scan that merged with the one before would show.
    const int n = i % 2 == 0 ? i : i - 1;
    scan(ean13(n));
    ASSERT_EQ(cashier.focused(), cashier.text("Text1")) << i;
    press_enter();
    press_enter();
    press_key(cashier.window.get(), Qt::Key_S, Qt::AltModifier);  // 临时记录[&S]
    EXPECT_EVENTUALLY_EQ(cashier.list("List1")->count(), i + 1);
    goods << QStringLiteral("货品%1").arg(n);
    prices << QStringLiteral("%1.50").arg(n + 1);
  }
  EXPECT_EQ(recorded(store::day::kGoods), goods);
  EXPECT_EQ(recorded(store::day::kQuantity), QStringList(20, QStringLiteral("1.00")));
  EXPECT_EQ(recorded(store::day::kPrice), prices);
  EXPECT_EQ(recorded(store::day::kAmount), prices);
  EXPECT_EQ(recorded(store::day::kReceiptNo), QStringList(20, QStringLiteral("000001")));
  EXPECT_TRUE(cashier.dialogs.shown().empty()) << cashier.dialogs.messages().join(QLatin1Char('\n')).toStdString();
}

TEST_F(Scanner, AScanInTheCustomerBoxOrTheQuantityGoesToTheGoodsAndLeavesThemAsTheyWere) {
  open_receipt();
  QComboBox* Combo2 = cashier.combo("Combo2");
  Combo2->setFocus();
  type_text(QStringLiteral("王先生"));
  scan(ean13(3));
  EXPECT_EQ(Combo2->currentText(), QStringLiteral("王先生"));
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品3"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("4.50"));
  EXPECT_EQ(cashier.focused(), cashier.text("Text1"));

  // In the quantity box, its whole text selected: the scan's digits replaced it for a moment.
  QLineEdit* Text1 = cashier.text("Text1");
  type_text(QStringLiteral("2"));
  Text1->selectAll();
  scan(ean13(5));
  EXPECT_EQ(Text1->text(), QStringLiteral("2"));
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品5"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("6.50"));
  EXPECT_EQ(cashier.focused(), Text1);

  // From the emptied amount box, whose own leaving would be refused with a message.
  cashier.text("Text3")->setFocus();
  cashier.text("Text3")->clear();
  scan(ean13(7));
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品7"));
  EXPECT_EQ(cashier.focused(), Text1);
  EXPECT_TRUE(cashier.dialogs.shown().empty()) << cashier.dialogs.messages().join(QLatin1Char('\n')).toStdString();

  press_enter();
  press_enter();
  press_key(cashier.window.get(), Qt::Key_S, Qt::AltModifier);
  EXPECT_EVENTUALLY_EQ(recorded(store::day::kGoods), QStringList{QStringLiteral("货品7")});
  EXPECT_EQ(recorded(store::day::kQuantity), QStringList{QStringLiteral("2.00")});
  EXPECT_EQ(recorded(store::day::kAmount), QStringList{QStringLiteral("17.00")});
  EXPECT_EQ(recorded(store::day::kCustomer), QStringList{QStringLiteral("王先生")});
}

TEST_F(Scanner, AScanWithNoReceiptOpenTakesANewReceiptNumberFirst) {
  cashier.open();
  ASSERT_TRUE(cashier.button("Command4")->isEnabled());
  cashier.list("List2")->setFocus();
  scan(ean13(1));
  EXPECT_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:000001"));
  EXPECT_FALSE(cashier.button("Command4")->isEnabled());
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品1"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("2.50"));
  EXPECT_EQ(cashier.focused(), cashier.text("Text1"));

  // The receipt query box takes six digits and Enter too; from a scanner they are goods.
  cashier.text("Text4")->setFocus();
  scan(ean13(2));
  EXPECT_EQ(cashier.text("Text4")->text(), QStringLiteral("单号查询"));
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品2"));
  EXPECT_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:000001")) << "the open receipt goes on";
}

TEST_F(Scanner, TypingByAPersonStaysWhereItIsTyped) {
  open_receipt();
  QLineEdit* Text1 = cashier.text("Text1");
  Text1->setFocus();
  // The same keys as a scan, but 80 ms apart.
  scan_text(QStringLiteral("123456\n"), 80ms);
  EXPECT_EQ(Text1->text(), QStringLiteral("123456.00"));
  EXPECT_EQ(cashier.focused(), cashier.text("Text2"));
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QString());

  // Fast, but too short for a code: five digits.
  cashier.text("Text2")->setText(QStringLiteral("1.00"));
  cashier.text("Text4")->setFocus();
  scan_text(QStringLiteral("00001\n"));
  EXPECT_EQ(cashier.text("Text4")->text(), QStringLiteral("00001"));
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{QStringLiteral("查无此单！")}) << "the query box had its Enter";
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QString());
}

TEST_F(Scanner, ACodeTypedIntoTheGoodsBoxFindsItsGoods) {
  open_receipt();
  // Typed by hand, slowly: Enter on the digits of a stored code.
  type_text(ean13(4));
  press_enter();
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品4"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("5.50"));
  EXPECT_EQ(cashier.focused(), cashier.text("Text1"));

  // 临时记录 with a code in the box records no line under the code: it shows the goods.
  cashier.combo("Combo1")->setFocus();
  cashier.combo("Combo1")->setEditText(ean13(6));
  cashier.button("Command1")->click();
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品6"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("7.50"));
  EXPECT_TRUE(recorded(store::day::kGoods).isEmpty());

  // Goods without a code are entered by name as before.
  cashier.combo("Combo1")->setFocus();
  cashier.combo("Combo1")->setEditText(QString());
  type_text(QStringLiteral("散装糖\n"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("8.00"));
  EXPECT_TRUE(cashier.dialogs.shown().empty()) << cashier.dialogs.messages().join(QLatin1Char('\n')).toStdString();
}

TEST_F(Scanner, AnUnknownCodeIsOfferedForRegistrationWithTheCodeInTheCodeBox) {
  open_receipt();
  const QString code = ean13(99);
  cashier.dialogs.answer_yes();
  QString code_box;
  QString name_box = QStringLiteral("?");
  when_opened<catalogues::frm_注册商品>([&](catalogues::frm_注册商品& window) {
    code_box = window.Text3()->text();
    name_box = window.Text1()->text();
    window.Text1()->setText(QStringLiteral("新饮料"));
    window.Text2()->setText(QStringLiteral("3.20"));
    window.add_shop();
    window.close();
  });
  scan(code);
  EXPECT_EVENTUALLY_EQ(code_box, code);
  EXPECT_EQ(name_box, QString());
  ASSERT_FALSE(cashier.dialogs.shown().empty());
  EXPECT_EQ(cashier.dialogs.shown().front().text, QStringLiteral("条码 [") + code + QStringLiteral("] 还未注册，是否要现在注册吗？"));
  EXPECT_EQ(cashier.dialogs.messages().last(), QStringLiteral("注册成功！"));

  // Back in the cashier window the code is in the goods box; Enter now finds its goods.
  EXPECT_EVENTUALLY_EQ(cashier.combo("Combo1")->currentText(), code);
  show_active(*cashier.window);
  cashier.combo("Combo1")->setFocus();
  press_enter();
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("新饮料"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("3.20"));
}

TEST_F(Scanner, AMisreadCodeAsksForAnotherScan) {
  open_receipt();
  QString misread = ean13(8);
  misread.back() = QChar(u'0' + (misread.back().unicode() - u'0' + 1) % 10);
  scan(misread);
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{catalogues::kWrongCheckDigit});
  EXPECT_EQ(cashier.focused(), cashier.combo("Combo1"));
  EXPECT_EQ(cashier.combo("Combo1")->lineEdit()->selectedText(), misread) << "the next scan replaces it";
  scan(ean13(8));
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QStringLiteral("货品8"));
}

}  // namespace
}  // namespace tavuro::testing
