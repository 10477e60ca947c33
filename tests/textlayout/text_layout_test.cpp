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
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
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
      {"-0", "0.00"},      {"1e3", "0.00"},    {"12.x", "0.x0"},
      // The whole part is the floor of the number, worked out on its digits: no digit is
      // lost to a binary fraction, however long the number.
      {"16777217", "16777217.00"},              {"123456789", "123456789.00"},
      {"99999999999999999999999999999999999999999", "99999999999999999999999999999999999999999.00"},
      {"+3", "3.00"},      {"-1.5", "-2.50"},  {"-0.5", "-1.50"},   {"-9.99", "-10.99"}, {"-99.1", "-100.10"},
      {"-0.00", "0.00"},   {"-12", "-12.00"},  {"-", "0.00"},       {".", "0.00"},
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

}  // namespace
}  // namespace tavuro::textlayout
