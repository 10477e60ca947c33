#include "catalogues/customer_list.h"
#include "catalogues/customer_window.h"

#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "window_driver.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace tavuro::catalogues {
namespace {

using platform::Buttons;
using platform::Icon;
using namespace testing;

const QString kDuplicate = QStringLiteral("客户名称已经存在,不用再注册了。");

class Customers : public WindowTest<Frm_注册客户> {
 protected:
  QStringList stored() const { return stored_names(shop, shop.state.paths.kefu_file); }
  void open() {
    show();
    List1 = control<QListWidget>("List1");
    Text1 = control<QLineEdit>("Text1");
    Command1 = control<QPushButton>("Command1");
    Command2 = control<QPushButton>("Command2");
  }

  QListWidget* List1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
};

TEST_F(Customers, AMissingListIsNeitherReportedNorMadeADamagedOneIsReported) {
  QFile::remove(shop.state.paths.kefu_file);
  EXPECT_FALSE(read_KeFu(shop.state));
  EXPECT_EQ(add_KeFu(shop.state, QStringLiteral("王五")), AddKeFuResult::Failed);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[add_KeFu]")});
  EXPECT_FALSE(QFile::exists(shop.state.paths.kefu_file));

  dialogs.clear();
  write_bytes(shop.state.paths.kefu_file, "garbage");
  EXPECT_FALSE(read_KeFu(shop.state));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("客户名文件被破坏[read_KeFu]。")});
  EXPECT_EQ(dialogs.last_message().icon, Icon::Exclamation);
}

TEST_F(Customers, NamesAreStoredTrimmedAndComparedExactly) {
  EXPECT_EQ(add_KeFu(shop.state, QStringLiteral("  ")), AddKeFuResult::Empty);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("你还未输入客户名。"));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  dialogs.clear();

  EXPECT_EQ(add_KeFu(shop.state, QStringLiteral("  王五公司 ")), AddKeFuResult::Registered);
  EXPECT_TRUE(dialogs.shown().empty()) << "no confirmation";
  EXPECT_EQ(add_KeFu(shop.state, QStringLiteral("王五公司")), AddKeFuResult::Duplicate);
  EXPECT_EQ(add_KeFu(shop.state, QStringLiteral(" 王五公司  ")), AddKeFuResult::Duplicate);
  EXPECT_EQ(dialogs.messages(), QStringList(2, kDuplicate));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(add_KeFu(shop.state, QStringLiteral("Acme")), AddKeFuResult::Registered);
  EXPECT_EQ(add_KeFu(shop.state, QStringLiteral("ACME")), AddKeFuResult::Registered);
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("王五公司"), QStringLiteral("Acme"), QStringLiteral("ACME")}));
  EXPECT_EQ(read_KeFu(shop.state)->names, stored());
}

TEST_F(Customers, ANameLongerThanTheListHoldsIsRefusedWithAMessage) {
  const QString fifty(50, QChar(0x5BA2));  // 客
  EXPECT_EQ(add_KeFu(shop.state, fifty), AddKeFuResult::Registered);
  const QByteArray before = read_bytes(shop.state.paths.kefu_file);
  EXPECT_EQ(add_KeFu(shop.state, fifty + QStringLiteral("户")), AddKeFuResult::Failed);
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_TRUE(dialogs.last_message().text.endsWith(QStringLiteral("[add_KeFu]")));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(read_bytes(shop.state.paths.kefu_file), before);
  EXPECT_EQ(stored(), QStringList{fifty});
}

TEST_F(Customers, DeletingAsksWithTheWarningAboutQueriesAndTakesTheChosenRecord) {
  shop.add_customer(QStringLiteral("Acme"));
  shop.add_customer(QStringLiteral("acme"));
  shop.add_customer(QStringLiteral("acme"));
  const store::RecordRef second = shop.record_ref(shop.state.paths.kefu_file, 1);
  const store::RecordRef third = shop.record_ref(shop.state.paths.kefu_file, 2);
  dialogs.answer_no();
  EXPECT_FALSE(del_KeFu(shop.state, QStringLiteral("acme"), third));
  EXPECT_EQ(dialogs.last_message().text,
            QStringLiteral("真的要删除客户[acme]吗? （如果删除了就不能再用它来查询它所有的记录）"));
  EXPECT_EQ(dialogs.last_message().buttons, Buttons::YesNo);
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  dialogs.answer_yes();
  EXPECT_TRUE(del_KeFu(shop.state, QStringLiteral("acme"), third));
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("Acme"), QStringLiteral("acme")}));
  EXPECT_EQ(shop.records(shop.state.paths.kefu_file)[1].id(), second.id);
  // A record that has gone since the list was read is not looked for by its name.
  dialogs.clear();
  dialogs.answer_yes();
  EXPECT_TRUE(del_KeFu(shop.state, QStringLiteral("acme"), third));
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("该记录已被修改或删除，请刷新后再试。"));
  EXPECT_EQ(stored().size(), 2);
}

TEST_F(Customers, TheWindowRegistersTheNameItWasOpenedWith) {
  shop.add_customer(QStringLiteral("Acme"));
  shop.state.customer_registered = true;  // as sale entry opens it
  cashier.state = &shop.state;
  window = std::make_unique<Frm_注册客户>(shop.state, cashier);
  window->Text1()->setText(QStringLiteral("王五"));
  open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("注册客户"));
  EXPECT_EQ(control<QGroupBox>("Frame1")->title(), QStringLiteral("下边是已注册的客户名称"));
  EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("客户名称"));
  EXPECT_EQ(Text1->toolTip(), QStringLiteral("输入注册的客户名称"));
  EXPECT_EQ(control<QPushButton>("Command1")->text(), QStringLiteral("加 入"));
  EXPECT_EQ(control<QPushButton>("Command2")->text(), QStringLiteral("删 除"));
  auto* Command3 = control<QPushButton>("Command3");
  EXPECT_EQ(Command3->text(), QStringLiteral("关闭"));
  EXPECT_EQ(Command3->toolTip(), QStringLiteral("关闭窗口"));
  EXPECT_EQ(focused(), Text1);

  press_enter();
  EXPECT_TRUE(window->isVisible()) << "Enter in the name box presses no button";
  EXPECT_EQ(stored(), QStringList{QStringLiteral("Acme")});

  click(control<QPushButton>("Command1"));
  EXPECT_EQ(lines(List1), (QStringList{QStringLiteral("Acme"), QStringLiteral("王五")}));
  EXPECT_TRUE(Text1->text().isEmpty());
  EXPECT_EQ(focused(), Text1);
  EXPECT_TRUE(dialogs.shown().empty());

  click(Command3);
  EXPECT_EQ(cashier.calls, QStringList{QStringLiteral("read_KeFu_file+")});
}

TEST_F(Customers, ClosedWithoutAddingTheWindowLetsTheCashierPickNoCustomer) {
  shop.add_customer(QStringLiteral("Acme"));
  shop.state.customer_registered = true;
  cashier.state = &shop.state;
  open();
  Text1->setText(QStringLiteral("Acme"));
  click(Command1);
  EXPECT_EQ(dialogs.messages(), QStringList{kDuplicate});
  window->close();
  EXPECT_EQ(cashier.calls, QStringList{QStringLiteral("read_KeFu_file")});
  EXPECT_FALSE(shop.state.customer_registered);
}

TEST_F(Customers, TheWindowDeletesOnlyASelectedLineAndOnlyOnYes) {
  shop.add_customer(QStringLiteral("Acme"));
  shop.add_customer(QStringLiteral("王五"));
  open();
  Text1->setText(QStringLiteral("typed"));
  click(Command2);
  EXPECT_TRUE(dialogs.shown().empty());
  click_line(List1, 1);
  EXPECT_EQ(Text1->text(), QStringLiteral("typed")) << "a click only selects";
  dialogs.answer_no();
  click(Command2);
  EXPECT_EQ(stored().size(), 2);
  EXPECT_EQ(Text1->text(), QStringLiteral("typed"));
  dialogs.answer_yes();
  click(Command2);
  EXPECT_EQ(lines(List1), QStringList{QStringLiteral("Acme")});
  EXPECT_TRUE(Text1->text().isEmpty());

  Text1->setText(QStringLiteral("Acme"));
  click(Command1);
  EXPECT_EQ(dialogs.last_message().text, kDuplicate);
  EXPECT_TRUE(Text1->text().isEmpty());
}

TEST_F(Customers, TheWindowOnAMissingListShowsNothingAndMakesNoFile) {
  QFile::remove(shop.state.paths.kefu_file);
  open();
  EXPECT_EQ(List1->count(), 0);
  EXPECT_TRUE(dialogs.shown().empty());
  window->close();
  EXPECT_FALSE(QFile::exists(shop.state.paths.kefu_file));
}

}  // namespace
}  // namespace tavuro::catalogues
