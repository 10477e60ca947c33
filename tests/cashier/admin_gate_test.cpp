#include "cashier/admin_gate.h"

#include "platform/text_file.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

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
  state.admin_password = QStringLiteral("Boss1");
  dialogs.answer_input(QStringLiteral("Boss1"));
  EXPECT_TRUE(check_admin_password(state));
  EXPECT_EQ(dialogs.shown().front().text, QStringLiteral("输入你的管理密码："));
  EXPECT_EQ(dialogs.shown().front().title, QStringLiteral("Tavuro收银机"));
  EXPECT_TRUE(dialogs.messages().isEmpty());

  for (const char* wrong : {"boss1", " Boss1", "Boss1 ", ""}) {
    dialogs.clear();
    dialogs.answer_input(QString::fromUtf8(wrong));
    EXPECT_FALSE(check_admin_password(state)) << wrong;
    EXPECT_EQ(dialogs.messages(), QStringList{wrong_password_message()});
    EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  }
  dialogs.clear();
  dialogs.cancel_input();
  EXPECT_FALSE(check_admin_password(state));
  EXPECT_EQ(dialogs.messages().size(), 1);
}

// p.dat as a person writes it in an editor (UTF-8) and as an older install wrote it
// (GBK): the password in it opens the gate, whatever its letters.
TEST(AdminGate, APasswordFileWrittenByHandOrByAnOlderInstallOpensTheGate) {
  const struct {
    QByteArray bytes;
    const char* typed;
  } files[] = {
      {QStringLiteral("Pässwört1").toUtf8(), "Pässwört1"},
      {QStringLiteral(" Müller\n").toUtf8(), "Müller"},
      {QStringLiteral("Café").toUtf8(), "Café"},
      {QStringLiteral("老板123").toUtf8(), "老板123"},
      {platform::to_local_code_page(QStringLiteral("山水")), "山水"},
      {platform::to_local_code_page(QStringLiteral("小学")), "小学"},
      {platform::to_local_code_page(QStringLiteral("Boss老板")), "Boss老板"},
  };
  for (const auto& file : files) {
    ScriptedDialogs dialogs;
    testing::ShopFixture shop;
    testing::write_bytes(shop.temp.filePath(QStringLiteral("p.dat")), file.bytes);
    shop.start_up();
    dialogs.answer_input(QString::fromUtf8(file.typed));
    EXPECT_TRUE(check_admin_password(shop.state)) << file.typed << " read as " << shop.state.admin_password.toStdString();
    EXPECT_TRUE(dialogs.messages().isEmpty()) << file.typed;
  }
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
