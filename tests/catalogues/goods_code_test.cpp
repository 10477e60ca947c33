// Goods codes: the check digits of published EAN-13, EAN-8 and UPC-A codes, and the shop's
// own codes of other lengths.

#include "catalogues/goods_code.h"

#include <gtest/gtest.h>

namespace tavuro::catalogues {
namespace {

TEST(GoodsCode, PublishedCodesCarryTheirCheckDigit) {
  // EAN-13 (among them the ISBN 978-0-306-40615-7), EAN-8, UPC-A.
  for (const char* code : {"4006381333931", "9780306406157", "5901234123457", "6901234567892", "73513537",
                           "96385074", "036000291452", "012345678905"}) {
    EXPECT_EQ(code_fault(QString::fromLatin1(code)), CodeFault::None) << code;
  }
  EXPECT_EQ(check_digit(u"400638133393"), 1);
  EXPECT_EQ(check_digit(u"7351353"), 7);
  EXPECT_EQ(check_digit(u"03600029145"), 2);
  EXPECT_EQ(check_digit(u"000000000000"), 0) << "a sum of ten's multiple needs no more";
}

TEST(GoodsCode, AWrongDigitAnywhereOrTwoSwappedAreFound) {
  for (const char* code : {"4006381333932", "4006381333901", "73513536", "37513537", "036000291453", "306000291452",
                           "9780306406175"}) {
    EXPECT_EQ(code_fault(QString::fromLatin1(code)), CodeFault::WrongCheckDigit) << code;
  }
  EXPECT_EQ(code_fault_message(CodeFault::WrongCheckDigit), QStringLiteral("条码校验位不对，请重新扫描。"));
}

TEST(GoodsCode, OtherLengthsAreTheShopsOwnCodesUpToTwentyDigits) {
  EXPECT_EQ(code_fault(QString()), CodeFault::None) << "goods need no code";
  for (const char* code : {"1", "1234567", "123456789", "12345678901234", "12345678901234567890"}) {
    EXPECT_EQ(code_fault(QString::fromLatin1(code)), CodeFault::None) << code;
  }
  for (const char* code : {"123456789012345678901", "12a4", " 1234", "1234 ", "１２３"}) {
    EXPECT_EQ(code_fault(QString::fromUtf8(code)), CodeFault::NotDigits) << code;
  }
  EXPECT_FALSE(is_code_text(u""));
  EXPECT_FALSE(is_code_text(u"12.5"));
  EXPECT_TRUE(is_code_text(u"0012"));
}

}  // namespace
}  // namespace tavuro::catalogues
