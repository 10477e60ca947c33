#include "sales/money.h"

#include "textlayout/text_layout.h"

#include <gtest/gtest.h>

#include <limits>

namespace tavuro::sales {
namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

Money fen(qint64 hundredths) {
  return Money::from_hundredths(hundredths);
}
Money parsed(const char* text) {
  return Money::parse(QString::fromUtf8(text)).value();
}

struct ParseCase {
  const char* text;
  qint64 hundredths;
};

TEST(Money, ParsesTheStoredTextCuttingDecimalsPastTheSecond) {
  const ParseCase cases[] = {
      {"12.34", 1234},
      {"12.349", 1234},
      {"1.999", 199},
      {"12.3", 1230},
      {"12", 1200},
      {"12.", 1200},
      {".5", 50},
      {"0.05", 5},
      {"0.1", 10},
      {" 7.5 ", 750},
      {"+3", 300},
      {"007.10", 710},
      {"-0.50", -50},
      {"-1.005", -100},
      {"-0.001", 0},
      {"0", 0},
      {"1.99999999999999999999999999", 199},
      {"0000000000000000000000000001", 100},
  };
  for (const ParseCase& c : cases) {
    const std::optional<Money> money = Money::parse(QString::fromUtf8(c.text));
    ASSERT_TRUE(money.has_value()) << c.text;
    EXPECT_EQ(money->hundredths(), c.hundredths) << c.text;
  }
}

TEST(Money, WhatIsNoNumberIsReportedAsSuch) {
  const char* const cases[] = {"",    "   ", ".",   "-",  "+",   "1.2.3", "1,5", "1e5", "12a",  "１２",
                               "- 5", "\t5", "--1", "5-", "+-1", "0x10",  "¥5",  "5 0", "1.5.", "NaN"};
  for (const char* text : cases) EXPECT_FALSE(Money::parse(QString::fromUtf8(text)).has_value()) << text;
}

TEST(Money, ParsesToTheEdgesOfItsRangeAndNoFurther) {
  EXPECT_EQ(parsed("92233720368547758.07").hundredths(), kMax);
  EXPECT_EQ(parsed("-92233720368547758.07").hundredths(), -kMax);
  EXPECT_EQ(parsed("92233720368547758.079").hundredths(), kMax) << "a cut decimal cannot overflow";
  for (const char* text : {"92233720368547758.08", "92233720368547759", "922337203685477580", "-92233720368547758.09",
                           "99999999999999999999999999"}) {
    EXPECT_FALSE(Money::parse(QString::fromUtf8(text)).has_value()) << text;
  }
}

TEST(Money, WritesTheTwoDecimalStoredForm) {
  const std::pair<qint64, const char*> cases[] = {
      {0, "0.00"},
      {5, "0.05"},
      {50, "0.50"},
      {1234, "12.34"},
      {-5, "-0.05"},
      {-100, "-1.00"},
      {123456789, "1234567.89"},
      {kMax, "92233720368547758.07"},
      {kMin, "-92233720368547758.08"},
  };
  for (const auto& [hundredths, text] : cases) EXPECT_EQ(fen(hundredths).text(), QString::fromUtf8(text)) << text;
}

TEST(Money, ReadsBackExactlyWhatTheMoneyTextOfAnEntryBoxHolds) {
  // The boxes store money_text of what was typed; Money reads that text to the same amount
  // as the typed text, and writes it back unchanged.
  for (const char* typed : {"1", "1.5", "12.349", "0.1", "1.999", " 3.33 ", "0.05", "99999.99", "131071.99", "7."}) {
    const QString stored = textlayout::money_text(QString::fromUtf8(typed));
    const std::optional<Money> money = Money::parse(stored);
    ASSERT_TRUE(money.has_value()) << typed;
    EXPECT_EQ(money->text(), stored) << typed;
    EXPECT_EQ(money, Money::parse(QString::fromUtf8(typed))) << typed;
  }
}

TEST(Money, AddsExactlyAndReportsOverflow) {
  EXPECT_EQ(parsed("1.10").plus(parsed("2.25")), parsed("3.35"));
  EXPECT_EQ(parsed("5.00").plus(parsed("-7.25")), parsed("-2.25"));
  // Ten dimes make a yuan, which a binary fraction never quite does.
  Money sum;
  for (int i = 0; i < 10; ++i) sum = sum.plus(parsed("0.10")).value();
  EXPECT_EQ(sum.text(), QStringLiteral("1.00"));

  EXPECT_EQ(fen(kMax - 1).plus(fen(1)), fen(kMax));
  EXPECT_FALSE(fen(kMax).plus(fen(1)).has_value());
  EXPECT_FALSE(fen(kMin).plus(fen(-1)).has_value());
  EXPECT_EQ(fen(kMax).plus(fen(kMin)), fen(-1));
}

TEST(Money, OrdersByAmount) {
  EXPECT_LT(parsed("-0.01"), parsed("0"));
  EXPECT_LT(parsed("9.99"), parsed("10"));
  EXPECT_EQ(parsed("2.5"), parsed("2.50"));
  EXPECT_EQ(Money(), fen(0));
}

struct AmountCase {
  const char* quantity;
  const char* price;
  const char* amount;
};

TEST(Money, TheLineAmountIsCutNotRounded) {
  const AmountCase cases[] = {
      {"1.50", "1.25", "1.87"},
      {"3.00", "3.33", "9.99"},
      {"2.00", "3.50", "7.00"},
      {"0.99", "0.99", "0.98"},
      {"0.01", "0.01", "0.00"},
      {"0.00", "5.00", "0.00"},
      {"1.00", "0.07", "0.07"},
      {"2.50", "0.03", "0.07"},
      {"-1.50", "1.25", "-1.87"},
      {"12345.00", "99999.99", "1234499876.55"},
      // Past 64 bits before the cut, within them after it.
      {"10000000000.00", "1000000.00", "10000000000000000.00"},
  };
  for (const AmountCase& c : cases) {
    const std::optional<Money> amount = line_amount(parsed(c.quantity), parsed(c.price));
    ASSERT_TRUE(amount.has_value()) << c.quantity << " x " << c.price;
    EXPECT_EQ(amount->text(), QString::fromUtf8(c.amount)) << c.quantity << " x " << c.price;
  }
}

TEST(Money, ALineAmountBeyondTheRangeIsReported) {
  EXPECT_FALSE(line_amount(fen(kMax), parsed("2.00")).has_value());
  EXPECT_FALSE(line_amount(fen(kMin), parsed("-1.00")).has_value()) << "the negative edge has no positive twin";
  EXPECT_FALSE(line_amount(parsed("100000000000.00"), parsed("1000000000.00")).has_value());
  EXPECT_EQ(line_amount(fen(kMax), parsed("1.00")), fen(kMax));
  EXPECT_EQ(line_amount(fen(kMin), parsed("1.00")), fen(kMin));
}

}  // namespace
}  // namespace tavuro::sales
