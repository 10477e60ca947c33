// The rules of sale entry without a window: keys, the amount, the checks of a line.

#include "cashier/sale_entry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

TEST(SaleEntry, AmountIsSinglePrecisionWithTheThirdDecimalCut) {
  const struct {
    const char* quantity;
    const char* price;
    const char* amount;
  } cases[] = {
      {"3.00", "3.33", "9.99"},  {"1.50", "1.25", "1.87"},     {"1.00", "2.50", "2.50"},
      {"2", "0.1", "0.20"},      {"0.00", "5.00", "0.00"},     {"12345.67", "8.00", "98765.36"},
      {"3", "0.7", "2.10"},      {"1.00", "0", "0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(amount_text(QString::fromUtf8(c.quantity), QString::fromUtf8(c.price)), QString::fromUtf8(c.amount))
        << c.quantity << " x " << c.price;
  }
  EXPECT_EQ(amount_text(QStringLiteral("1.2.3"), QStringLiteral("2.00")), std::nullopt);
  EXPECT_EQ(amount_text(QStringLiteral(""), QStringLiteral("2.00")), std::nullopt);
}

// Key presses as the X11 keyboard delivers them: the key, its modifiers and its text.
TEST(SaleEntry, KeyRulesSeeTypedTextNotEditingKeys) {
  QGuiApplication::clipboard()->setText(QStringLiteral("12.50"));
  const auto key = [](Qt::Key code, Qt::KeyboardModifiers modifiers, const QString& text) {
    return platform::key_input(QKeyEvent(QEvent::KeyPress, code, modifiers, text));
  };
  const struct {
    Qt::Key code;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    KeyRule money;
    KeyRule digits;
  } cases[] = {
      {Qt::Key_7, Qt::NoModifier, "7", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_7, Qt::KeypadModifier, "7", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_Period, Qt::NoModifier, ".", KeyRule::Pass, KeyRule::Refuse},
      {Qt::Key_A, Qt::NoModifier, "a", KeyRule::Refuse, KeyRule::Refuse},
      {Qt::Key_Minus, Qt::NoModifier, "-", KeyRule::Refuse, KeyRule::Refuse},
      {Qt::Key_Space, Qt::NoModifier, " ", KeyRule::Refuse, KeyRule::Refuse},
      {Qt::Key_unknown, Qt::NoModifier, "可", KeyRule::Refuse, KeyRule::Refuse},
      {Qt::Key_unknown, Qt::NoModifier, "\u0663", KeyRule::Refuse, KeyRule::Refuse},  // an Arabic-Indic three
      {Qt::Key_unknown, Qt::NoModifier, "\uff11", KeyRule::Refuse, KeyRule::Refuse},  // a full-width one
      {Qt::Key_Return, Qt::NoModifier, "\r", KeyRule::Enter, KeyRule::Enter},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", KeyRule::Enter, KeyRule::Enter},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_Delete, Qt::NoModifier, "\x7f", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_Delete, Qt::ShiftModifier, "\x7f", KeyRule::Pass, KeyRule::Pass},  // cut
      {Qt::Key_Left, Qt::NoModifier, "", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_Home, Qt::ShiftModifier, "", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_A, Qt::ControlModifier, "\x01", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_A, Qt::ControlModifier, "a", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_C, Qt::ControlModifier, "\x03", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_X, Qt::ControlModifier, "\x18", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_Z, Qt::ControlModifier, "\x1a", KeyRule::Pass, KeyRule::Pass},
      {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a", KeyRule::Pass, KeyRule::Pass},
      // A paste is checked by what the clipboard holds: 12.50 goes into a money box only.
      {Qt::Key_V, Qt::ControlModifier, "\x16", KeyRule::Pass, KeyRule::Refuse},
      {Qt::Key_Insert, Qt::ShiftModifier, "", KeyRule::Pass, KeyRule::Refuse},
  };
  for (const auto& c : cases) {
    const platform::KeyInput input = key(c.code, c.modifiers, QString::fromUtf8(c.text));
    EXPECT_EQ(money_key(input), c.money) << "key " << c.code << " text " << c.text;
    EXPECT_EQ(digit_key(input), c.digits) << "key " << c.code << " text " << c.text;
  }
  QGuiApplication::clipboard()->setText(QStringLiteral("12,50"));
  EXPECT_EQ(money_key(key(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"))), KeyRule::Refuse);
  QGuiApplication::clipboard()->setText(QStringLiteral("1250"));
  EXPECT_EQ(digit_key(key(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"))), KeyRule::Pass);
}

TEST(SaleEntry, GoodsNameWidth) {
  const QString caption = QStringLiteral("选商品");
  const QString too_wide = QStringLiteral("“选商品”只可以最多使用8个中文字或16个英文字符，否则数据出错！");
  EXPECT_EQ(goods_fault(QStringLiteral("可口可乐大瓶装三"), caption), std::nullopt);
  EXPECT_EQ(goods_fault(QStringLiteral("ABCDEFGHIJKLMNOP"), caption), std::nullopt);
  for (const char* wide : {"可口可乐大瓶装三九", "ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNO\""}) {
    const auto fault = goods_fault(QString::fromUtf8(wide), caption);
    ASSERT_TRUE(fault) << wide;
    EXPECT_EQ(fault->text, too_wide);
    EXPECT_EQ(fault->icon, platform::Icon::Exclamation);
    EXPECT_EQ(fault->action, FaultAction::FocusGoods);
  }
  const auto missing = goods_fault(QStringLiteral("   "), caption);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->text, QStringLiteral("你忘记了选取商品。"));
  EXPECT_EQ(missing->icon, platform::Icon::Information);
}

TEST(SaleEntry, NumberChecksInOrder) {
  const auto text = [](const std::optional<EntryFault>& fault) { return fault ? fault->text : QString(); };
  EXPECT_EQ(number_fault(QStringLiteral("12345.67"), QStringLiteral("99999.99"), QStringLiteral("1234567.00")),
            std::nullopt);
  // Each check wins over the ones after it.
  EXPECT_EQ(text(number_fault(QStringLiteral("123456.78"), QString(), QString())),
            QStringLiteral("[数量]数据出错，请重新启动软件。"));
  EXPECT_EQ(text(number_fault(QStringLiteral("1.00"), QStringLiteral("  "), QString())),
            QStringLiteral("“单价”你还未输入数据！"));
  EXPECT_EQ(text(number_fault(QStringLiteral("1.00"), QStringLiteral("123456.78"), QString())),
            QStringLiteral("[单价]数据出错，请重新启动软件。"));
  EXPECT_EQ(text(number_fault(QStringLiteral("1.00"), QStringLiteral("1.00"), QString())),
            QStringLiteral("“金额”还未自动算出！"));
  EXPECT_EQ(text(number_fault(QStringLiteral("1.00"), QStringLiteral("1.00"), QStringLiteral("12345678.90"))),
            QStringLiteral("[金额]数据出错，请重新启动软件。"));
  EXPECT_EQ(number_fault(QStringLiteral("1.00"), QStringLiteral("2.00"), QString())->action, FaultAction::FocusPrice);
  EXPECT_EQ(number_fault(QStringLiteral("1.00"), QString(), QString())->action, FaultAction::FocusPrice);
  EXPECT_EQ(number_fault(QStringLiteral("123456.78"), QString(), QString())->icon, platform::Icon::Exclamation);
}

TEST(SaleEntry, OperatorAndSequence) {
  EXPECT_EQ(operator_fault(QStringLiteral("王老五")), std::nullopt);
  EXPECT_EQ(operator_fault(QStringLiteral(" 123456 ")), std::nullopt);
  const auto none = operator_fault(QStringLiteral(" "));
  ASSERT_TRUE(none);
  EXPECT_EQ(none->text, QStringLiteral("你忘记了选操作员或编号；如果你还未加入，请先加入后使用。"));
  EXPECT_EQ(none->action, FaultAction::OperatorWindow);
  const auto wide = operator_fault(QStringLiteral("1234567"));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->text, QStringLiteral("[操作]员数据出错，请重新启动软件。"));
  EXPECT_EQ(wide->action, FaultAction::CloseWindow);

  EXPECT_EQ(sequence_fault(9999), std::nullopt);
  ASSERT_TRUE(sequence_fault(10000));
  EXPECT_EQ(sequence_fault(10000)->text, QStringLiteral("[序列号]数据出错，请重新启动软件。"));
  EXPECT_EQ(sequence_fault(10000)->action, FaultAction::CloseWindow);
}

}  // namespace
}  // namespace tavuro::cashier
