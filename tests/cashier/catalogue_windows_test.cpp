// The catalogue windows as the cashier window opens them: from the menu, and from sale
// entry when a goods name or a customer is not registered or no operator is chosen.

#include "cashier_window.h"
#include "support/modal_windows.h"
#include "catalogues/customer_window.h"
#include "catalogues/goods_window.h"
#include "catalogues/operator_window.h"

#include <QApplication>

namespace tavuro::cashier {
namespace {

using catalogues::frm_注册商品;
using catalogues::Frm_注册客户;
using catalogues::Frm_输入操作;
using testing::CashierWindow;
using testing::press_key;
using testing::when_opened;
using testing::type_text;

template <class T>
T* control(const QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

void click(QWidget* widget) {
  ASSERT_NE(widget, nullptr);
  QTest::mouseClick(widget, Qt::LeftButton);
}

void click_button(const QWidget& window, const char* name) { click(control<QPushButton>(window, name)); }

// What the window manager does when a modal window closes: the cashier window is the
// active one again (the offscreen screen has no window manager).
void back_to(CashierWindow& shop) {
  shop.window->activateWindow();
  EXPECT_TRUE(testing::wait_until([&shop] { return QApplication::activeWindow() == shop.window.get(); }));
}

// A new receipt and a registered goods typed in, with the quantity and the price taken by
// Enter: the amount is computed and the line is ready to be recorded.
void enter_line(CashierWindow& shop, const QString& goods) {
  click(shop.button("Command4"));
  type_text(goods);
  for (int box = 0; box < 3; ++box) press_key(Qt::Key_Return);
}

QString field(const store::Record& record, const QString& name) { return record.value(name); }

TEST(CatalogueWindows, MenuCommandsOpenTheThreeWindowsWithEmptyBoxes) {
  CashierWindow shop;
  shop.shop.state.pending_goods_name = QStringLiteral("茶");
  shop.open();
  shop.combo("Combo1")->setEditText(QStringLiteral("typed"));
  for (const char* name : {"注册商品", "注册固定客户", "输入操作员"}) EXPECT_TRUE(shop.action(name)->isEnabled());

  when_opened<frm_注册商品>([](frm_注册商品& goods) {
    EXPECT_TRUE(goods.Text1()->text().isEmpty());
    EXPECT_TRUE(goods.Text2()->text().isEmpty());
    click_button(goods, "Command3");
  });
  shop.action("注册商品")->trigger();
  EXPECT_EQ(shop.combo("Combo1")->currentText(), QStringLiteral("茶")) << "the pending goods name comes back";

  when_opened<Frm_注册客户>([](Frm_注册客户& customers) {
    EXPECT_TRUE(customers.Text1()->text().isEmpty());
    click_button(customers, "Command3");
  });
  shop.action("注册固定客户")->trigger();

  when_opened<Frm_输入操作>([](Frm_输入操作& operators) {
    EXPECT_EQ(operators.Text1()->text(), QStringLiteral("你的姓名或编号"));
    click_button(operators, "Command2");
  });
  shop.action("输入操作员")->trigger();
  EXPECT_TRUE(shop.dialogs.shown().empty());
}

TEST(CatalogueWindows, AnUnregisteredGoodsIsRegisteredFromSaleEntryAndFoundWithItsPrice) {
  CashierWindow shop;
  shop.open();
  click(shop.button("Command4"));
  ASSERT_EQ(shop.focused(), shop.combo("Combo1"));
  type_text(QStringLiteral("奶茶"));

  shop.dialogs.answer_yes();
  when_opened<frm_注册商品>([](frm_注册商品& goods) {
    EXPECT_EQ(goods.Text1()->text(), QStringLiteral("奶茶"));
    EXPECT_EQ(goods.Text2()->text(), QStringLiteral("0"));
    click(goods.Text2());
    type_text(QStringLiteral("3.5"));
    click_button(goods, "Command1");
    click_button(goods, "Command3");
  });
  press_key(Qt::Key_Return);
  back_to(shop);
  EXPECT_EQ(shop.focused(), shop.combo("Combo1"));
  EXPECT_EQ(shop.dialogs.messages(), (QStringList{QStringLiteral("你输入的商品 [奶茶] 还未注册，是否要现在注册吗？"),
                                                 QStringLiteral("注册成功！")}));
  // Handed back into the goods box, the name is no longer pending.
  EXPECT_TRUE(shop.shop.state.pending_goods_name.isEmpty());
  QComboBox* Combo1 = shop.combo("Combo1");
  EXPECT_NE(Combo1->findText(QStringLiteral("奶茶")), -1);
  EXPECT_EQ(Combo1->currentText(), QStringLiteral("奶茶"));

  // The name is registered now: Enter takes it and looks up its price.
  press_key(Qt::Key_Return);
  EXPECT_EQ(shop.focused(), shop.text("Text1"));
  EXPECT_EQ(shop.text("Text2")->text(), QStringLiteral("3.50"));
  EXPECT_EQ(shop.dialogs.messages().size(), 2);
}

TEST(CatalogueWindows, AnUnregisteredCustomerIsRegisteredAndBookedOnTheLine) {
  CashierWindow shop;
  shop.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.shop.add_customer(QStringLiteral("Acme"));
  shop.shop.state.current_operator = QStringLiteral("001");
  shop.open();
  enter_line(shop, QStringLiteral("可乐"));
  EXPECT_EQ(shop.text("Text3")->text(), QStringLiteral("2.50"));

  click(shop.combo("Combo2"));
  type_text(QStringLiteral("王五"));
  shop.dialogs.answer_yes();
  when_opened<Frm_注册客户>([](Frm_注册客户& customers) {
    EXPECT_EQ(customers.Text1()->text(), QStringLiteral("王五"));
    click_button(customers, "Command1");
    click_button(customers, "Command3");
  });
  press_key(Qt::Key_Return);  // on to the goods box: the customer box is left
  EXPECT_EQ(shop.dialogs.messages(),
            QStringList{QStringLiteral("你输入的客户名 [王五] 还未注册，是否要注册为固定客户吗？")});
  QComboBox* Combo2 = shop.combo("Combo2");
  EXPECT_EQ(Combo2->currentText(), QStringLiteral("王五"));
  EXPECT_EQ(Combo2->count(), 2);
  EXPECT_FALSE(shop.shop.state.customer_registered);

  click(shop.button("Command1"));
  const auto records = shop.shop.records(shop.shop.state.paths.day_file);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(field(records[0], store::day::kCustomer), QStringLiteral("王五"));
  EXPECT_EQ(field(records[0], store::day::kGoods), QStringLiteral("可乐"));
}

TEST(CatalogueWindows, ALineWithoutAnOperatorOpensTheOperatorWindowAndTheNextTryRecordsIt) {
  CashierWindow shop;
  shop.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.shop.add_operator(QStringLiteral("001"));
  shop.open();
  enter_line(shop, QStringLiteral("可乐"));

  when_opened<Frm_输入操作>([](Frm_输入操作& operators) {
    type_text(QStringLiteral("001"));
    click_button(operators, "Command1");
  });
  click(shop.button("Command1"));
  EXPECT_EQ(shop.dialogs.messages(),
            (QStringList{QStringLiteral("你忘记了选操作员或编号；如果你还未加入，请先加入后使用。"),
                         QStringLiteral("你的操作员姓名或编号 [001] 开始使用!")}));
  EXPECT_EQ(shop.shop.state.current_operator, QStringLiteral("001"));
  EXPECT_TRUE(shop.shop.records(shop.shop.state.paths.day_file).empty());
  EXPECT_EQ(shop.list("List1")->count(), 0);

  click(shop.button("Command1"));
  const auto records = shop.shop.records(shop.shop.state.paths.day_file);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(field(records[0], store::day::kOperator), QStringLiteral("001"));
  EXPECT_EQ(shop.list("List1")->count(), 1);
}

TEST(CatalogueWindows, FromAnEmptyShopToASaleThroughTheWindowsAlone) {
  CashierWindow shop;  // start-up has made the empty files in an empty folder
  shop.open();

  when_opened<frm_注册商品>([](frm_注册商品& goods) {
    type_text(QStringLiteral("可乐"));
    press_key(Qt::Key_Return);
    type_text(QStringLiteral("2.5"));
    press_key(Qt::Key_Return);
    press_key(Qt::Key_Return);
    click_button(goods, "Command3");
  });
  shop.action("注册商品")->trigger();
  back_to(shop);

  when_opened<Frm_输入操作>([](Frm_输入操作& operators) {
    type_text(QStringLiteral("001"));
    click_button(operators, "Com_Add");
    click_button(operators, "Command1");
  });
  shop.action("输入操作员")->trigger();
  back_to(shop);

  when_opened<Frm_注册客户>([](Frm_注册客户& customers) {
    type_text(QStringLiteral("王五"));
    click_button(customers, "Command1");
    click_button(customers, "Command3");
  });
  shop.action("注册固定客户")->trigger();
  back_to(shop);
  EXPECT_EQ(shop.dialogs.messages(),
            (QStringList{QStringLiteral("注册成功！"), QStringLiteral("注册成功！"),
                         QStringLiteral("你的操作员姓名或编号 [001] 开始使用!")}));
  EXPECT_EQ(shop.combo("Co_查操作员")->count(), 2) << "the operator filter was reloaded";

  enter_line(shop, QStringLiteral("可乐"));
  click(shop.combo("Combo2"));
  type_text(QStringLiteral("王五"));
  click(shop.button("Command1"));
  EXPECT_EQ(shop.dialogs.messages().size(), 3);

  const auto records = shop.shop.records(shop.shop.state.paths.day_file);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].values(), (QStringList{QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"),
                                              QStringLiteral("2.50"), QStringLiteral("001"), QStringLiteral("15:05:09"),
                                              QString(), QStringLiteral("王五"), QStringLiteral("000001")}));
}

}  // namespace
}  // namespace tavuro::cashier
