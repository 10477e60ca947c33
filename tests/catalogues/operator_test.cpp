#include "catalogues/operator_list.h"
#include "catalogues/operator_window.h"

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

const QString kRegistered = QStringLiteral("注册成功！");

class Operators : public WindowTest<Frm_输入操作> {
 protected:
  QStringList stored() const { return stored_names(shop, shop.state.paths.use_file); }
  void open() {
    show();
    List1 = control<QListWidget>("List1");
    Text1 = control<QLineEdit>("Text1");
    Command1 = control<QPushButton>("Command1");
    Com_Add = control<QPushButton>("Com_Add");
    Com_Del = control<QPushButton>("Com_Del");
  }

  QListWidget* List1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Com_Add = nullptr;
  QPushButton* Com_Del = nullptr;
};

TEST_F(Operators, TheListIsMadeWhenMissingAndShowsNamesInSixColumns) {
  QFile::remove(shop.state.paths.use_file);
  auto lines = read_use(shop.state);
  ASSERT_TRUE(lines);
  EXPECT_TRUE(lines->lines.isEmpty());
  EXPECT_TRUE(QFile::exists(shop.state.paths.use_file));

  shop.add_operator(QStringLiteral("001"));
  shop.add_operator(QStringLiteral("张三丰"));
  lines = read_use(shop.state);
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->lines, (QStringList{QStringLiteral("001   "), QStringLiteral("张三丰")}));
  ASSERT_EQ(lines->records.size(), 2u);
  EXPECT_EQ(lines->records[1].values, QStringList{QStringLiteral("张三丰")});
  EXPECT_TRUE(dialogs.shown().empty());

  write_bytes(shop.state.paths.use_file, "garbage");
  EXPECT_FALSE(read_use(shop.state));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[read_use]")});
  EXPECT_EQ(dialogs.last_message().icon, Icon::None);
}

TEST_F(Operators, RegisteringTrimsRefusesWideNamesAndDuplicates) {
  EXPECT_EQ(add_use(shop.state, QStringLiteral("   ")), AddUseResult::Ignored);
  EXPECT_TRUE(dialogs.shown().empty());

  EXPECT_EQ(add_use(shop.state, QStringLiteral(" 张三丰 ")), AddUseResult::Registered);
  EXPECT_EQ(add_use(shop.state, QStringLiteral("abcdef")), AddUseResult::Registered);
  EXPECT_EQ(dialogs.messages(), QStringList(2, kRegistered));
  EXPECT_EQ(dialogs.last_message().icon, Icon::None);
  dialogs.clear();

  for (const char* wide : {"张三丰x", "abcdefg", "诸葛孔明"}) {
    EXPECT_EQ(add_use(shop.state, QString::fromUtf8(wide)), AddUseResult::TooWide) << wide;
    EXPECT_EQ(dialogs.last_message().text, kOperatorTooWide);
    EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  }

  dialogs.clear();
  EXPECT_EQ(add_use(shop.state, QStringLiteral("张三丰 ")), AddUseResult::Duplicate);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("名称已经存在,[张三丰]不用再加入。"));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(add_use(shop.state, QStringLiteral("ABCDEF")), AddUseResult::Registered) << "case counts";
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("张三丰"), QStringLiteral("abcdef"), QStringLiteral("ABCDEF")}));

  dialogs.clear();
  write_bytes(shop.state.paths.use_file, "garbage");
  EXPECT_EQ(add_use(shop.state, QStringLiteral("002")), AddUseResult::Failed);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[add_use]")});
  EXPECT_EQ(dialogs.last_message().icon, Icon::None);
}

TEST_F(Operators, DeletingAsksAndRemovesTheChosenRecord) {
  dialogs.answer_yes();
  EXPECT_TRUE(del_use(shop.state, QStringLiteral("001"), {}));
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("真的要删除[001]吗?"), QStringLiteral("[001]不存在！")}));
  EXPECT_EQ(dialogs.shown()[0].buttons, Buttons::YesNo);
  EXPECT_EQ(dialogs.shown()[0].icon, Icon::Information);
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);

  shop.add_operator(QStringLiteral(" 001 "));  // written by hand, untrimmed
  shop.add_operator(QStringLiteral("002"));
  shop.add_operator(QStringLiteral("001"));
  const store::RecordRef first = shop.record_ref(shop.state.paths.use_file, 0);
  const store::RecordRef last = shop.record_ref(shop.state.paths.use_file, 2);
  dialogs.clear();
  dialogs.answer_no();
  EXPECT_FALSE(del_use(shop.state, QStringLiteral("001"), last));
  dialogs.answer_yes();
  EXPECT_TRUE(del_use(shop.state, QStringLiteral("001"), last));
  EXPECT_EQ(dialogs.messages().size(), 2);
  EXPECT_EQ(stored(), (QStringList{QStringLiteral(" 001 "), QStringLiteral("002")}));
  // Gone since the list was read: told, and nothing else deleted in its place.
  dialogs.answer_yes();
  EXPECT_TRUE(del_use(shop.state, QStringLiteral("001"), last));
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("该记录已被修改或删除，请刷新后再试。"));
  dialogs.answer_yes();
  EXPECT_TRUE(del_use(shop.state, QStringLiteral("001"), first));
  EXPECT_EQ(stored(), QStringList{QStringLiteral("002")});

  QFile::remove(shop.state.paths.use_file);
  dialogs.clear();
  dialogs.answer_yes();
  EXPECT_FALSE(del_use(shop.state, QStringLiteral("002"), first));
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("数据出错！[del_use]"));
}

TEST_F(Operators, UsingAnOperatorChecksTheTrimmedNameAndTakesItTrimmed) {
  EXPECT_EQ(use_operator(shop.state, QStringLiteral("  ")), UseOperatorResult::Empty);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("你还没有输入操作员姓名或编号!"));
  EXPECT_EQ(use_operator(shop.state, kOperatorPlaceholder), UseOperatorResult::TooWide);
  EXPECT_EQ(dialogs.last_message().text, kOperatorTooWide);
  EXPECT_EQ(use_operator(shop.state, QStringLiteral("001")), UseOperatorResult::NotRegistered) << "empty list";
  EXPECT_EQ(dialogs.last_message().text, kOperatorNotRegistered);

  shop.add_operator(QStringLiteral("001"));
  EXPECT_EQ(use_operator(shop.state, QStringLiteral("0001")), UseOperatorResult::NotRegistered);
  EXPECT_TRUE(shop.state.current_operator.isEmpty());
  for (const ShownDialog& shown : dialogs.shown()) EXPECT_EQ(shown.icon, Icon::Information);

  EXPECT_EQ(use_operator(shop.state, QStringLiteral("001   ")), UseOperatorResult::Chosen);
  EXPECT_EQ(shop.state.current_operator, QStringLiteral("001"));
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("你的操作员姓名或编号 [001] 开始使用!"));

  QFile::remove(shop.state.paths.use_file);
  EXPECT_EQ(use_operator(shop.state, QStringLiteral("002")), UseOperatorResult::Failed);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("数据出错！[Command1_Click]"));
  EXPECT_EQ(shop.state.current_operator, QStringLiteral("001"));
}

TEST_F(Operators, TheWindowOpensWithThePlaceholderReadyToBeTypedOver) {
  shop.add_operator(QStringLiteral("001"));
  open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("输入操作员/编号"));
  EXPECT_EQ(control<QGroupBox>("Frame1")->title(), QStringLiteral("下边是已经注册的操作员"));
  EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("当前的操作员/编号"));
  EXPECT_EQ(Text1->toolTip(), QStringLiteral("只可以使用不多于6个字符或3个中文字"));
  EXPECT_EQ(Command1->text(), QStringLiteral("使用[&Y]"));
  EXPECT_EQ(Com_Add->text(), QStringLiteral("加入[&A]"));
  EXPECT_EQ(Com_Del->text(), QStringLiteral("删除[&D]"));
  EXPECT_EQ(control<QPushButton>("Command2")->text(), QStringLiteral("关闭[&X]"));
  EXPECT_EQ(lines(List1), QStringList{QStringLiteral("001   ")});

  EXPECT_EQ(focused(), Text1);
  EXPECT_EQ(Text1->text(), kOperatorPlaceholder);
  click(Command1);
  EXPECT_EQ(dialogs.messages(), QStringList{kOperatorTooWide}) << "the untouched placeholder is too wide";
  type_text(QStringLiteral("00"));
  EXPECT_EQ(Text1->text(), QStringLiteral("00")) << "focus back in the box selects it all";
}

TEST_F(Operators, RegisteringAndDeletingThroughTheWindow) {
  open();
  type_text(QStringLiteral("007"));
  click(Com_Add);
  EXPECT_EQ(dialogs.messages(), QStringList{kRegistered});
  EXPECT_EQ(lines(List1), QStringList{QStringLiteral("007   ")});
  EXPECT_EQ(Text1->text(), QStringLiteral("007")) << "the box keeps the name after an add";

  click(Com_Add);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("名称已经存在,[007]不用再加入。"));
  EXPECT_TRUE(Text1->text().isEmpty());
  EXPECT_EQ(focused(), Text1);

  dialogs.clear();
  click(Text1);
  commit_text(QStringLiteral("张三丰"));
  click(Com_Add);
  EXPECT_EQ(dialogs.messages(), QStringList{kRegistered});
  Text1->setText(QStringLiteral("张三丰x"));
  click(Com_Add);
  EXPECT_EQ(dialogs.last_message().text, kOperatorTooWide);
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("007"), QStringLiteral("张三丰")}));

  dialogs.clear();
  click(Com_Del);
  EXPECT_TRUE(dialogs.shown().empty()) << "nothing selected";
  click_line(List1, 0);
  EXPECT_EQ(Text1->text(), QStringLiteral("007   ")) << "a clicked line goes into the box as shown";
  dialogs.answer_yes();
  click(Com_Del);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("真的要删除[007]吗?"));
  EXPECT_EQ(lines(List1), QStringList{QStringLiteral("张三丰")});
  EXPECT_TRUE(Text1->text().isEmpty());
}

TEST_F(Operators, ALineChosenFromTheListBecomesTheOperatorWithoutItsPadding) {
  shop.add_operator(QStringLiteral("001"));
  shop.add_operator(QStringLiteral("李四"));
  open();
  Text1->setText(QStringLiteral("009"));
  click(Command1);
  EXPECT_EQ(dialogs.messages(), QStringList{kOperatorNotRegistered});
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(cashier.calls.isEmpty());

  click_line(List1, 1);
  click(Command1);
  EXPECT_EQ(shop.state.current_operator, QStringLiteral("李四"));
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("你的操作员姓名或编号 [李四] 开始使用!"));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(cashier.calls, QStringList{QStringLiteral("read_usefile")});
}

TEST_F(Operators, AnOperatorListDeletedWhileRunningIsMadeAgainByTheWindow) {
  shop.add_operator(QStringLiteral("001"));
  QFile::remove(shop.state.paths.use_file);
  open();
  EXPECT_TRUE(QFile::exists(shop.state.paths.use_file));
  EXPECT_EQ(List1->count(), 0);
  EXPECT_TRUE(dialogs.shown().empty());
  click(control<QPushButton>("Command2"));
  EXPECT_EQ(cashier.calls, QStringList{QStringLiteral("read_usefile")});
}

}  // namespace
}  // namespace tavuro::catalogues
