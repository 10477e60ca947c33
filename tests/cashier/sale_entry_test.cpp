// The rules of sale entry without a window: keys, the amount, the checks of a line.

#include "cashier/sale_entry.h"

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

TEST(SaleEntry, KeyRules) {
  for (const char c : QByteArray("0123456789.\b")) {
    if (c == 0) continue;
    EXPECT_EQ(money_key(QLatin1Char(c)), KeyRule::Pass) << int(c);
  }
  EXPECT_EQ(money_key(QLatin1Char('\r')), KeyRule::Enter);
  for (const QChar c : QStringLiteral("a-+ ,e可\x1b\x16٣")) EXPECT_EQ(money_key(c), KeyRule::Refuse) << int(c.unicode());
  EXPECT_EQ(digit_key(QLatin1Char('7')), KeyRule::Pass);
  EXPECT_EQ(digit_key(QLatin1Char('\b')), KeyRule::Pass);
  EXPECT_EQ(digit_key(QLatin1Char('\r')), KeyRule::Enter);
  EXPECT_EQ(digit_key(QLatin1Char('.')), KeyRule::Refuse);
}

TEST(SaleEntry, GoodsNameWidth) {
  const QString caption = QStringLiteral("选商品");
  const QString tooWide = QStringLiteral("“选商品”只可以最多使用8个中文字或16个英文字符，否则数据出错！");
  EXPECT_EQ(goods_fault(QStringLiteral("可口可乐大瓶装三"), caption), std::nullopt);
  EXPECT_EQ(goods_fault(QStringLiteral("ABCDEFGHIJKLMNOP"), caption), std::nullopt);
  for (const char* wide : {"可口可乐大瓶装三九", "ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNO\""}) {
    const auto fault = goods_fault(QString::fromUtf8(wide), caption);
    ASSERT_TRUE(fault) << wide;
    EXPECT_EQ(fault->text, tooWide);
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
