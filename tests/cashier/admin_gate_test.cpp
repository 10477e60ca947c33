#include "cashier/admin_gate.h"

#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using testing::ScriptedDialogs;

TEST(AdminGate, NoPasswordNoQuestion) {
  ScriptedDialogs dialogs;
  startup::AppState state;
  EXPECT_TRUE(check_admin_password(state));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(AdminGate, OnlyTheExactPasswordPasses) {
  ScriptedDialogs dialogs;
  startup::AppState state;
  state.adminPassword = QStringLiteral("Boss1");
  dialogs.answerInput(QStringLiteral("Boss1"));
  EXPECT_TRUE(check_admin_password(state));
  EXPECT_EQ(dialogs.shown().front().text, QStringLiteral("输入你的管理密码："));
  EXPECT_EQ(dialogs.shown().front().title, QStringLiteral("Tavuro收银机"));
  EXPECT_TRUE(dialogs.messages().isEmpty());

  for (const char* wrong : {"boss1", " Boss1", "Boss1 ", ""}) {
    dialogs.clear();
    dialogs.answerInput(QString::fromUtf8(wrong));
    EXPECT_FALSE(check_admin_password(state)) << wrong;
    EXPECT_EQ(dialogs.messages(), QStringList{wrong_password_message()});
    EXPECT_EQ(dialogs.lastMessage().icon, platform::Icon::Exclamation);
  }
  dialogs.clear();
  dialogs.cancelInput();
  EXPECT_FALSE(check_admin_password(state));
  EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST(AdminGate, TheRefusalIsSevenFramedLinesJoinedByCarriageReturns) {
  const QStringList lines = wrong_password_message().split(QLatin1Char('\r'));
  ASSERT_EQ(lines.size(), 7);
  EXPECT_EQ(lines[0], QStringLiteral("┏━━━━━━━━━━━━━━━━┓"));
  EXPECT_EQ(lines[1], QStringLiteral("        输入了错误的管理密码！    "));
  EXPECT_EQ(lines[2], QStringLiteral("┗━━━━━━━━━━━━━━━━┛"));
  EXPECT_EQ(lines[3], QString());
  EXPECT_EQ(lines[4], lines[0]);
  EXPECT_EQ(lines[5], QStringLiteral("   如果你不是管理员，请不要乱来！ "));
  EXPECT_EQ(lines[6], QStringLiteral("┗━━━━━━━━━━━━━━━━┛       "));
}

}  // namespace
}  // namespace tavuro::cashier
