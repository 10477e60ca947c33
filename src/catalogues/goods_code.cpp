#include "catalogues/goods_code.h"

namespace tavuro::catalogues {

namespace {

bool is_digit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool has_check_digit(qsizetype length) { return length == 8 || length == 12 || length == 13; }

}  // namespace

bool is_code_text(QStringView text) {
  if (text.isEmpty()) return false;
  for (const QChar c : text) {
    if (!is_digit(c)) return false;
  }
  return true;
}

int check_digit(QStringView digits_before) {
  int sum = 0;
  int weight = 3;
  for (qsizetype i = digits_before.size() - 1; i >= 0; --i) {
    sum += weight * (digits_before[i].unicode() - u'0');
    weight = 4 - weight;
  }
  return (10 - sum % 10) % 10;
}

CodeFault code_fault(const QString& code) {
  if (code.isEmpty()) return CodeFault::None;
  if (!is_code_text(code) || code.size() > kMaxGoodsCodeLength) return CodeFault::NotDigits;
  if (has_check_digit(code.size()) && check_digit(QStringView(code).chopped(1)) != code.back().unicode() - u'0') {
    return CodeFault::WrongCheckDigit;
  }
  return CodeFault::None;
}

QString code_fault_message(CodeFault fault) {
  switch (fault) {
    case CodeFault::None: return {};
    case CodeFault::NotDigits: return kCodeNotDigits;
    case CodeFault::WrongCheckDigit: return kWrongCheckDigit;
  }
  return {};
}

}  // namespace tavuro::catalogues
