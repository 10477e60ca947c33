#pragma once
// An amount of money held exactly: a whole number of hundredths (fen) in 64 bits. Amounts
// are stored as two-decimal text; Money reads and writes that text without ever going
// through a binary fraction, so sums and products come out to the fen.

#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

namespace tavuro::sales {

class Money {
 public:
  constexpr Money() = default;
  static constexpr Money from_hundredths(qint64 hundredths) { return Money(hundredths); }

  // The stored text as a two-decimal amount: spaces (U+0020) around it are dropped; then an
  // optional sign and ASCII digits with at most one decimal point, at least one digit in
  // all. Decimals past the second are cut, not rounded (12.349 gives 12.34, -1.005 gives
  // -1.00). nullopt for a blank text, anything else that is no number, and an amount
  // beyond the range of 64-bit hundredths.
  static std::optional<Money> parse(const QString& text);

  constexpr qint64 hundredths() const { return hundredths_; }

  // The stored form: integer part, a point and exactly two decimals, a minus sign in front
  // of a negative amount ("12.34", "0.05", "-0.50").
  QString text() const;

  // The exact sum; nullopt when it leaves the range.
  std::optional<Money> plus(Money other) const;
  // The exact sum for a running total: one that would leave the range (beyond 92 million
  // million yuan, only reached by texts written by hand) stays at its end.
  Money added(Money other) const;

  friend constexpr auto operator<=>(Money, Money) = default;

 private:
  constexpr explicit Money(qint64 hundredths) : hundredths_(hundredths) {}

  qint64 hundredths_ = 0;
};

// A stored amount as a running total takes it: a text that is no number adds nothing.
inline Money amount_or_zero(const QString& text) { return Money::parse(text).value_or(Money()); }

// The amount of a sale line: quantity × unit price, cut (not rounded) towards zero to the
// fen: 1.5 × 1.25 = 1.87, 3 × 3.33 = 9.99. The quantity is a two-decimal number held like
// an amount. nullopt when the amount leaves the range.
std::optional<Money> line_amount(Money quantity, Money unit_price);

}  // namespace tavuro::sales
