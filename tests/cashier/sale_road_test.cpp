// The road of one sale, driven from the keyboard through the cashier window.

#include "cashier_window.h"

#include "platform/line_printer.h"
#include "platform/text_file.h"

#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

class SaleRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    cashier.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
    cashier.shop.add_goods(QStringLiteral("面包片"), QStringLiteral("2.50"));
    cashier.shop.add_goods(QStringLiteral("矿泉水"), QStringLiteral("1.20"));
    cashier.shop.add_customer(QStringLiteral("王先生"));
    ASSERT_TRUE(platform::write_one_line_file(cashier.shop.state.paths.nober_file, QStringLiteral("57")));
    cashier.shop.state.receipt_counter = 57;
    cashier.shop.state.company_name = QStringLiteral("小王商店");
    cashier.shop.state.current_operator = QStringLiteral("001");
    cashier.open();
  }

  // A mnemonic of the window, as Alt + letter.
  void mnemonic(Qt::Key key) { press_key(cashier.window.get(), key, Qt::AltModifier); }

  // Goods by name and Enter, quantity and Enter, the looked-up price and Enter: the focus
  // is then in the amount box.
  void enter_goods(const QString& goods, const QString& quantity) {
    EXPECT_EQ(cashier.focused(), cashier.combo("Combo1"));
    type_text(goods);
    press_key(Qt::Key_Return);
    EXPECT_EQ(cashier.focused(), cashier.text("Text1"));
    type_text(quantity);
    press_key(Qt::Key_Return);
    EXPECT_EQ(cashier.focused(), cashier.text("Text2"));
    press_key(Qt::Key_Return);
    EXPECT_EQ(cashier.focused(), cashier.text("Text3"));
  }

  CashierWindow cashier;
  std::vector<platform::PrintedDocument> printed;
  platform::ScopedLinePrinterFactory printer{
      [this] { return std::make_unique<platform::RecordingPrinter>(printed); }};
};

TEST_F(SaleRoad, ReceiptWithTwoLinesPrintedAndCleared) {
  const QString day_file = cashier.shop.state.paths.day_file;

  mnemonic(Qt::Key_C);  // 创建单号[&C]
  EXPECT_EVENTUALLY_EQ(cashier.focused(), cashier.combo("Combo1"));
  EXPECT_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:000058"));
  EXPECT_EQ(platform::read_first_line(cashier.shop.state.paths.nober_file), QStringLiteral("58"));
  EXPECT_FALSE(cashier.button("Command4")->isEnabled());
  EXPECT_TRUE(cashier.button("Command1")->isEnabled());
  EXPECT_FALSE(cashier.button("Command2")->isEnabled());

  // Typing a name sets the price to 0, so that Enter looks the price up.
  type_text(QStringLiteral("可乐"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("0"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("2.50"));
  EXPECT_EQ(cashier.focused(), cashier.text("Text1"));
  EXPECT_EQ(cashier.text("Text1")->selectedText(), QStringLiteral("1.00"));
  type_text(QStringLiteral("2"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.text("Text1")->text(), QStringLiteral("2.00"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.text("Text3")->text(), QStringLiteral("5.00"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.focused(), cashier.button("Command1"));
  press_key(Qt::Key_Return);  // 临时记录[&S]

  auto records = cashier.shop.records(day_file);
  ASSERT_EQ(records.size(), 1u);
  const auto field = [&records](size_t i, const QString& name) { return records[i].value(name); };
  EXPECT_EQ(field(0, store::day::kGoods), QStringLiteral("可乐"));
  EXPECT_EQ(field(0, store::day::kQuantity), QStringLiteral("2.00"));
  EXPECT_EQ(field(0, store::day::kPrice), QStringLiteral("2.50"));
  EXPECT_EQ(field(0, store::day::kAmount), QStringLiteral("5.00"));
  EXPECT_EQ(field(0, store::day::kOperator), QStringLiteral("001"));
  EXPECT_EQ(field(0, store::day::kTime), QStringLiteral("15:05:09"));
  EXPECT_EQ(field(0, store::day::kCode), QString());
  EXPECT_EQ(field(0, store::day::kCustomer), QStringLiteral("散客"));
  EXPECT_EQ(field(0, store::day::kReceiptNo), QStringLiteral("000058"));
  EXPECT_EQ(read_bytes(cashier.shop.state.paths.day_backup), read_bytes(day_file));

  const QString first_line =
      QStringLiteral("  0001    可乐                    2.00        2.50          5.00    001       15:05:09");
  EXPECT_EQ(cashier.lines("List1"), QStringList{first_line});
  EXPECT_EQ(cashier.lines("List2"), QStringList{QStringLiteral("     1") + first_line.mid(6)});
  EXPECT_EQ(cashier.label("Label4")->text(), QStringLiteral("5.00元"));
  EXPECT_EQ(cashier.label("Label6")->text(), QStringLiteral("记录数：1"));
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：5.00元"));
  EXPECT_EQ(cashier.label("Label7")->text(), QStringLiteral("操作编号 = *全部*"));
  // Ready for the next line.
  EXPECT_EQ(cashier.focused(), cashier.combo("Combo1"));
  EXPECT_EQ(cashier.combo("Combo1")->currentText(), QString());
  EXPECT_EQ(cashier.text("Text1")->text(), QStringLiteral("1.00"));
  EXPECT_EQ(cashier.text("Text2")->text(), QStringLiteral("0"));
  EXPECT_EQ(cashier.text("Text3")->text(), QString());
  EXPECT_TRUE(cashier.button("Command2")->isEnabled());
  EXPECT_TRUE(cashier.button("Command3")->isEnabled());

  // The second line, for a regular customer, recorded with the mnemonic.
  cashier.shop.clock.set(QDateTime(QDate(2003, 5, 7), QTime(15, 6, 10)));
  enter_goods(QStringLiteral("面包片"), QStringLiteral("5"));
  EXPECT_EQ(cashier.text("Text3")->text(), QStringLiteral("12.50"));
  press_key(Qt::Key_Tab);
  EXPECT_EQ(cashier.focused(), cashier.combo("Combo2"));
  type_text(QStringLiteral("王先生"));
  press_key(Qt::Key_Return);
  EXPECT_EQ(cashier.focused(), cashier.combo("Combo1"));
  mnemonic(Qt::Key_S);
  EXPECT_EVENTUALLY_EQ(cashier.list("List1")->count(), 2);

  records = cashier.shop.records(day_file);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(field(1, store::day::kCustomer), QStringLiteral("王先生"));
  EXPECT_EQ(field(1, store::day::kAmount), QStringLiteral("12.50"));
  EXPECT_EQ(field(1, store::day::kTime), QStringLiteral("15:06:10"));
  EXPECT_TRUE(cashier.lines("List1")[1].startsWith(QStringLiteral("  0002    面包片")));
  EXPECT_TRUE(cashier.lines("List2")[1].startsWith(QStringLiteral("     2    面包片")));
  EXPECT_EQ(cashier.label("Label4")->text(), QStringLiteral("17.50元"));
  EXPECT_EQ(cashier.label("Label6")->text(), QStringLiteral("记录数：2"));
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：17.50元"));
  EXPECT_EQ(read_bytes(cashier.shop.state.paths.day_backup), read_bytes(day_file));
  EXPECT_TRUE(cashier.dialogs.shown().empty());

  mnemonic(Qt::Key_P);  // 打印临时记录[&P]
  EXPECT_EVENTUALLY_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].font_size, 12);
  ASSERT_EQ(printed[0].lines.size(), 12);
  EXPECT_EQ(printed[0].lines[2], QStringLiteral("    单号:000058"));
  EXPECT_EQ(printed[0].lines[6], QStringLiteral("    ") + first_line);
  EXPECT_EQ(printed[0].lines[9], QStringLiteral("      合 计：") + QString(50, QLatin1Char(' ')) + QStringLiteral("17.50"));
  EXPECT_EQ(printed[0].lines[11], QStringLiteral("    【日期:2003年5月7日】      收款单位：小王商店"));
  EXPECT_FALSE(cashier.button("Command3")->isEnabled());
  EXPECT_EQ(cashier.focused(), cashier.button("Command2"));

  press_key(Qt::Key_Return);  // 清临时记录[&D] has the focus
  EXPECT_EQ(cashier.list("List1")->count(), 0);
  EXPECT_EQ(cashier.shop.state.temp_line_count, 0);
  EXPECT_EQ(cashier.shop.state.temp_total.text(), QStringLiteral("0.00"));
  EXPECT_EQ(cashier.label("Label4")->text(), QStringLiteral("17.50元"));  // kept until the next line
  EXPECT_EQ(cashier.focused(), cashier.button("Command4"));
  for (const char* name : {"Command1", "Command2", "Command3", "Combo1", "Combo2", "Text1", "Text2", "Text3"}) {
    EXPECT_FALSE(cashier.find<QWidget>(QString::fromUtf8(name))->isEnabled()) << name;
  }
  EXPECT_EQ(cashier.list("List2")->count(), 2);
  EXPECT_EQ(cashier.shop.records(day_file).size(), 2u);
  EXPECT_TRUE(cashier.dialogs.shown().empty());
}

TEST_F(SaleRoad, KeyboardAloneThreeLinesAndTodaysList) {
  cashier.shop.add_sale({QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50")});
  cashier.window->read_myfile();  // an earlier sale of the day is listed

  mnemonic(Qt::Key_C);
  EXPECT_EVENTUALLY_EQ(cashier.focused(), cashier.combo("Combo1"));
  const struct {
    const char* goods;
    const char* quantity;
  } lines[] = {{"矿泉水", "3"}, {"可乐", "1.5"}, {"面包片", "2"}};
  for (const auto& line : lines) {
    enter_goods(QString::fromUtf8(line.goods), QString::fromUtf8(line.quantity));
    press_key(Qt::Key_Return);
    press_key(Qt::Key_Return);
  }
  EXPECT_EQ(cashier.list("List1")->count(), 3);
  EXPECT_EQ(cashier.label("Label4")->text(), QStringLiteral("12.35元"));  // 3.60 + 3.75 + 5.00
  mnemonic(Qt::Key_P);
  EXPECT_EVENTUALLY_EQ(printed.size(), 1u);
  mnemonic(Qt::Key_D);
  EXPECT_EVENTUALLY_EQ(cashier.focused(), cashier.button("Command4"));

  const QStringList today = cashier.lines("List2");
  ASSERT_EQ(today.size(), 4);
  EXPECT_TRUE(today[3].startsWith(QStringLiteral("     4    面包片")));
  EXPECT_EQ(cashier.label("Label6")->text(), QStringLiteral("记录数：4"));
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：14.85元"));
  // Reloading shows the same list.
  cashier.window->read_myfile();
  EXPECT_EQ(cashier.lines("List2"), today);
  EXPECT_EQ(cashier.label("Label5")->text(), QStringLiteral("合计金额：14.85元"));
  EXPECT_TRUE(cashier.dialogs.shown().empty());

  // The next receipt starts from the No receipt state with the next number.
  mnemonic(Qt::Key_C);
  EXPECT_EVENTUALLY_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:000059"));
}

}  // namespace
}  // namespace tavuro::testing
