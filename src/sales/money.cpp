#include "sales/money.h"

#include "textlayout/text_layout.h"

#include <limits>

namespace tavuro::sales {

namespace {

// The product of two hundredths values has four decimals and may need more than 64 bits
// before it is cut back to two.
__extension__ typedef __int128 Wide;

constexpr qint64 kMax = std::numeric_limits<qint64>::max();

}  // namespace

std::optional<Money> Money::parse(const QString& text) {
  const QString trimmed = textlayout::trim_spaces(text);
  qsizetype i = 0;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == QLatin1Char('-') || trimmed[i] == QLatin1Char('+'))) {
    negative = trimmed[i] == QLatin1Char('-');
    ++i;
  }
  // The magnitude in hundredths, kept within the positive range (so that its negative
  // fits too).
  qint64 magnitude = 0;
  int digits = 0;
  int decimals = -1;  // -1 before the point, then the decimals read so far
  for (; i < trimmed.size(); ++i) {
    const char16_t c = trimmed[i].unicode();
    if (c == u'.') {
      if (decimals >= 0) return std::nullopt;
      decimals = 0;
      continue;
    }
    if (c < u'0' || c > u'9') return std::nullopt;
    ++digits;
    if (decimals >= 2) continue;  // cut, not rounded
    if (decimals >= 0) ++decimals;
    const int digit = c - u'0';
    if (decimals < 0) {
      // A digit of the integer part: hundredths × 10 + 100 × digit, checked.
      if (magnitude > (kMax - 100 * digit) / 10) return std::nullopt;
      magnitude = magnitude * 10 + 100 * digit;
    } else {
      const int weight = decimals == 1 ? 10 : 1;
      if (magnitude > kMax - weight * digit) return std::nullopt;
      magnitude += weight * digit;
    }
  }
  if (digits == 0) return std::nullopt;
  return Money(negative ? -magnitude : magnitude);
}

QString Money::text() const {
  // The magnitude of the most negative value does not fit a signed 64-bit number.
  const quint64 magnitude = hundredths_ < 0 ? 0 - static_cast<quint64>(hundredths_) : static_cast<quint64>(hundredths_);
  return (hundredths_ < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 100) + QLatin1Char('.') +
         QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

std::optional<Money> Money::plus(Money other) const {
  qint64 sum = 0;
  if (__builtin_add_overflow(hundredths_, other.hundredths_, &sum)) return std::nullopt;
  return Money(sum);
}

Money Money::added(Money other) const {
  qint64 sum = 0;
  if (!__builtin_add_overflow(hundredths_, other.hundredths_, &sum)) return Money(sum);
  return Money(other.hundredths_ < 0 ? std::numeric_limits<qint64>::min() : kMax);
}

std::optional<Money> line_amount(Money quantity, Money unit_price) {
  // Ten-thousandths; integer division cuts towards zero.
  const Wide cut = Wide{quantity.hundredths()} * Wide{unit_price.hundredths()} / 100;
  if (cut > std::numeric_limits<qint64>::max() || cut < std::numeric_limits<qint64>::min()) return std::nullopt;
  return Money::from_hundredths(static_cast<qint64>(cut));
}

}  // namespace tavuro::sales
