#include "support/scripted_dialogs.h"
#include "textlayout/text_layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tavuro::textlayout {
namespace {

using testing::ScriptedDialogs;

struct WidthCase {
  const char* text;
  int width;
};

TEST(TextWidth, CountsAsciiOneAndEverythingElseTwo) {
  const WidthCase cases[] = {
      {"abc", 3},         {"可乐", 4},     {"可乐 2L", 7},  {"  x  ", 1},     {"", 0},
      {"    ", 0},        {"a\"b", 4},     {"\t", 2},       {"（）", 4},      {"，。", 4},
      {"─│┌", 6},         {"ＡＢ", 4},     {"`~!@#$%^&*()_+|-=\\[]{};:',<.>/?", 31},
      {"12345.67", 8},    {"123456.78", 9}, {"é", 2},        {"\x7f", 2},      {"😀", 2},
  };
  for (const WidthCase& c : cases) {
    QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(text_width(text), c.width) << c.text;
  }
}

TEST(TextWidth, TrimsOnlySpacesOfTheCallersText) {
  QString text = QStringLiteral("  可乐  ");
  EXPECT_EQ(text_width(text), 4);
  EXPECT_EQ(text, QStringLiteral("可乐"));
  QString tabbed = QStringLiteral("\tab\t");
  EXPECT_EQ(text_width(tabbed), 6);
  EXPECT_EQ(tabbed, QStringLiteral("\tab\t"));
}

TEST(TextWidth, SaturatesInsteadOfOverflowing) {
  QString huge(40000, QChar(0x53EF));
  EXPECT_EQ(text_width(huge), 32767);
}

TEST(PadText, PadsOnTheNamedSideToTheExactWidth) {
  ScriptedDialogs dialogs;
  EXPECT_EQ(pad_text(QStringLiteral("12.50"), kLeft, 8), QStringLiteral("   12.50"));
  EXPECT_EQ(pad_text(QStringLiteral("可乐"), kRight, 16), QStringLiteral("可乐            "));
  EXPECT_EQ(pad_text(QStringLiteral(" 可乐 "), QStringLiteral("中"), 16), QStringLiteral("可乐"));
  EXPECT_EQ(pad_text(QStringLiteral("abcd"), kLeft, 4), QStringLiteral("abcd"));
  QString caller = QStringLiteral("  a ");
  EXPECT_EQ(pad_text(caller, kLeft, 3), QStringLiteral("  a"));
  EXPECT_EQ(caller, QStringLiteral("a"));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(PadText, TooWideGivesTheAddNotMessageAndAnEmptyText) {
  ScriptedDialogs dialogs;
  EXPECT_EQ(pad_text(QStringLiteral("可乐"), kLeft, 3), QString());
  ASSERT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错![add_not]")});
  EXPECT_EQ(dialogs.lastMessage().icon, platform::Icon::Exclamation);
  EXPECT_EQ(pad_text(QStringLiteral("x"), kRight, -1), QString());
}

struct MoneyCase {
  const char* in;
  const char* out;
};

TEST(MoneyText, CutsToTwoDecimals) {
  const MoneyCase cases[] = {
      {"12", "12.00"},     {"12.5", "12.50"},  {"12.345", "12.34"}, {"12.349", "12.34"}, {".5", "0.50"},
      {"3.", "3.00"},      {"007.1", "7.10"},  {"", "0.00"},        {"   ", "0.00"},     {"abc", "0.00"},
      {"1.999", "1.99"},   {"2", "2.00"},      {"0.1", "0.10"},     {"1.2.3", "0.30"},   {" 9.99 ", "9.99"},
      {"123456789", "123456792.00"},            {"99999999999999999999999999999999999999999", "0.00"},
      {"-0", "0.00"},      {"1e3", "0.00"},    {"12.x", "0.x0"},
  };
  for (const MoneyCase& c : cases) {
    QString text = QString::fromUtf8(c.in);
    EXPECT_EQ(money_text(text), QString::fromUtf8(c.out)) << c.in;
  }
}

TEST(MoneyText, TrimsTheCallersTextUnlessBlank) {
  QString text = QStringLiteral(" 1.5 ");
  money_text(text);
  EXPECT_EQ(text, QStringLiteral("1.5"));
  QString blank = QStringLiteral("   ");
  money_text(blank);
  EXPECT_EQ(blank, QStringLiteral("   "));
}

TEST(SingleText, SevenSignificantDigitsInPlainDigits) {
  const std::pair<float, const char*> cases[] = {
      {0.0f, "0"},           {9.99f, "9.99"},         {3.0f * 3.33f, "9.99"},  {1.5f * 1.25f, "1.875"},
      {0.5f, "0.5"},         {12.5f, "12.5"},         {100000.12f, "100000.1"}, {123456792.0f, "123456800"},
      {1e-7f, "0.0000001"},  {-2.25f, "-2.25"},       {3.4e38f, "340000000000000000000000000000000000000"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(single_text(value), QString::fromUtf8(text)) << value;
  EXPECT_EQ(single_text(std::nanf("")), QStringLiteral("0"));
}

TEST(SingleText, ATotalAddedUpInSinglePrecisionShowsItsInexactness) {
  float total = 0.0f;
  for (int i = 0; i < 1000; ++i) total += 0.1f;
  EXPECT_EQ(money_of(total), QStringLiteral("99.99"));
  EXPECT_EQ(money_of(12.5f), QStringLiteral("12.50"));
}

TEST(ToSingle, AcceptsPlainDecimalNumbersOnly) {
  EXPECT_EQ(to_single(QStringLiteral(" 12.5 ")), 12.5f);
  EXPECT_EQ(to_single(QStringLiteral("+3")), 3.0f);
  EXPECT_EQ(to_single(QStringLiteral("-.5")), -0.5f);
  EXPECT_EQ(to_single(QStringLiteral("3.")), 3.0f);
  for (const char* bad : {"", ".", "-", "1.2.3", "1e3", "abc", "1 2", "１２", "inf", "nan", "0x10", "1,000"}) {
    EXPECT_FALSE(to_single(QString::fromUtf8(bad)).has_value()) << bad;
  }
}

}  // namespace
}  // namespace tavuro::textlayout
