#pragma once
// The code of a goods as a barcode scanner reads it, kept in shop.dat's 编码: digits only.
// Codes of 8, 12 and 13 digits are EAN-8, UPC-A and EAN-13, whose last digit is a check
// digit over the others; a misread digit shows there. Other lengths, up to 20 digits, are
// the shop's own codes and carry no check digit. Goods need not have a code.

#include <QString>
#include <QStringView>

namespace tavuro::catalogues {

inline constexpr int kMaxGoodsCodeLength = 20;

inline const QString kWrongCheckDigit = QStringLiteral("条码校验位不对，请重新扫描。");
inline const QString kCodeNotDigits = QStringLiteral("条码只可以使用数字，最多20位。");

// Whether text is a code as typed or scanned: not empty, digits 0 to 9 only.
bool is_code_text(QStringView text);

// The check digit of EAN-8, UPC-A and EAN-13 for the digits before it: their sum weighted
// 3, 1, 3, … from the right, made up to the next multiple of ten.
int check_digit(QStringView digits_before);

enum class CodeFault {
  None,             // a right code, or none at all
  NotDigits,        // something else than digits, or longer than 20
  WrongCheckDigit,  // 8, 12 or 13 digits whose last is not the check digit
};

CodeFault code_fault(const QString& code);
// The message for a fault; empty for CodeFault::None.
QString code_fault_message(CodeFault fault);

}  // namespace tavuro::catalogues
