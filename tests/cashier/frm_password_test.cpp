#include "cashier/admin_gate.h"
#include "cashier/frm_password.h"

#include "admin_window_driving.h"
#include "support/keyboard.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using testing::ScriptedDialogs;
using testing::ShopFixture;
using testing::type_into;

class PasswordWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    window = std::make_unique<Frm_PassWord>(shop.state);
    ASSERT_TRUE(testing::show_active(window.get()));
    Text1 = window->findChild<QLineEdit*>(QStringLiteral("Text1"));
    Text2 = window->findChild<QLineEdit*>(QStringLiteral("Text2"));
    ASSERT_TRUE(Text1 && Text2);
  }
  void apply(const QString& old_password, const QString& new_password) {
    Text1->setFocus();
    Text1->selectAll();
    Text1->del();
    type_into(Text1, old_password);
    Text2->setText(new_password);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  }

  ShopFixture shop;
  ScriptedDialogs dialogs;
  std::unique_ptr<Frm_PassWord> window;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2 = nullptr;
};

TEST_F(PasswordWindow, ControlsCaptionsAndTips) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("修改管理员密码"));
  const auto text = [this](const char* name) {
    const QString objectName = QString::fromUtf8(name);
    if (auto* label = window->findChild<QLabel*>(objectName)) return label->text();
    if (auto* button = window->findChild<QPushButton*>(objectName)) return button->text();
    if (auto* frame = window->findChild<QGroupBox*>(objectName)) return frame->title();
    return QStringLiteral("<missing>");
  };
  const auto tip = [this](const char* name) {
    return window->findChild<QWidget*>(QString::fromUtf8(name))->toolTip();
  };
  EXPECT_EQ(text("Label1"), QStringLiteral("旧密码"));
  EXPECT_EQ(text("Label2"), QStringLiteral("新密码"));
  EXPECT_EQ(text("Command1"), QStringLiteral("确定[&Y]"));
  EXPECT_EQ(text("Command2"), QStringLiteral("关闭[&X]"));
  EXPECT_EQ(text("Frame1"), QStringLiteral("管理员密码使用说明"));
  EXPECT_EQ(tip("Frame1"), QStringLiteral("不设密码，任何人都可以使用所有的功能。"));
  EXPECT_EQ(text("Label3"), QStringLiteral("如果设置了管理员密码下边功能将受到限制："));
  EXPECT_EQ(text("Label4"), QStringLiteral("1）核心的结算打印功能[要求输入密码]"));
  EXPECT_EQ(text("Label5"), QStringLiteral("2）核心的查询功能[要求输入密码]"));
  EXPECT_EQ(tip("Label4"), QStringLiteral("这个功能可防止你的员工泄密，而起到保护功能。"));
  EXPECT_EQ(tip("Label5"), tip("Label4"));
  EXPECT_EQ(text("Label6"), QStringLiteral("注：系统的默认密码是空（不用填写），如果"));
  EXPECT_EQ(text("Label7"), QStringLiteral("    你将密码设置为空，所有功能将不受限制。"));
  EXPECT_EQ(tip("Label6"), QStringLiteral("如果不设密码，意味着你开放所有的功能（对于多个人使用是非常危险的）"));
  EXPECT_EQ(tip("Label7"), tip("Label6"));

  // The old password shows a star per character; the new one is plain.
  type_into(Text1, QStringLiteral("abc"));
  EXPECT_EQ(Text1->displayText(), QStringLiteral("***"));
  Text2->setText(QStringLiteral("abc"));
  EXPECT_EQ(Text2->displayText(), QStringLiteral("abc"));
}

TEST_F(PasswordWindow, EnteringABoxSelectsItsText) {
  Text2->setText(QStringLiteral("old text"));
  Text2->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Text2->selectedText(), QStringLiteral("old text"));
  type_into(Text2, QStringLiteral("new"));
  EXPECT_EQ(Text2->text(), QStringLiteral("new"));
}

TEST_F(PasswordWindow, ASetPasswordGuardsAtOnceAndSurvivesARestartTrimmed) {
  apply(QString(), QStringLiteral(" Boss1 "));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("成功改变了密码！")});
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Accepted);
  EXPECT_EQ(testing::read_bytes(shop.state.paths.p_file), QByteArray(" Boss1 "));

  // The gate asks for the new password straight away, untrimmed.
  dialogs.answer_input(QStringLiteral("Boss1"));
  EXPECT_FALSE(check_admin_password(shop.state));
  dialogs.answer_input(QStringLiteral(" Boss1 "));
  EXPECT_TRUE(check_admin_password(shop.state));

  // After a restart the stored password is read trimmed.
  shop.start_up();  // reads the setting files again
  EXPECT_EQ(shop.state.admin_password, QStringLiteral("Boss1"));
}

TEST_F(PasswordWindow, AWrongOldPasswordOrADeclinedEmptyOneKeepsTheWindowOpen) {
  apply(QString(), QStringLiteral("Boss1"));
  window->show();
  const QByteArray set = testing::read_bytes(shop.state.paths.p_file);
  for (const char* wrong : {"Boss1 ", "boss1", ""}) {
    dialogs.clear();
    apply(QString::fromUtf8(wrong), QStringLiteral("x"));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("请核对旧密码,重新输入!")});
    EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Critical);
    EXPECT_TRUE(window->isVisible());
  }

  dialogs.answer_no();
  apply(QStringLiteral("Boss1"), QString());
  EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("注意： 新密码为空，表示不设密码！  是否要继续呢？"));
  EXPECT_EQ(dialogs.shown().back().icon, platform::Icon::Question);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(shop.state.admin_password, QStringLiteral("Boss1"));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.p_file), set);

  dialogs.answer_yes();
  apply(QStringLiteral("Boss1"), QString());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(shop.state.admin_password.isEmpty());
  EXPECT_TRUE(testing::read_bytes(shop.state.paths.p_file).isEmpty());
  dialogs.clear();
  EXPECT_TRUE(check_admin_password(shop.state));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(PasswordWindow, CloseChangesNothing) {
  const QByteArray before = testing::read_bytes(shop.state.paths.p_file);
  Text2->setText(QStringLiteral("new"));
  QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(testing::read_bytes(shop.state.paths.p_file), before);
}

}  // namespace
}  // namespace tavuro::cashier
