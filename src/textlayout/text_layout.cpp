#include "textlayout/text_layout.h"

#include "platform/dialogs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tavuro::textlayout {

namespace {

int char_width(char32_t c) {
  // Printable ASCII counts one column, except the double quote.
  if (c >= 0x20 && c <= 0x7E && c != U'"') return 1;
  return 2;
}

}  // namespace

QString trim_spaces(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == QLatin1Char(' ')) ++begin;
  while (end > begin && text[end - 1] == QLatin1Char(' ')) --end;
  if (begin == 0 && end == text.size()) return text;
  return text.mid(begin, end - begin);
}

qint16 text_width(QString& text) {
  text = trim_spaces(text);
  return static_cast<qint16>(std::min<qsizetype>(column_width(text), std::numeric_limits<qint16>::max()));
}

qsizetype column_width(const QString& text) {
  qsizetype width = 0;
  for (const char32_t c : text.toUcs4()) width += char_width(c);
  return width;
}

QString pad_text(QString& text, const QString& side, int width) {
  const int w = text_width(text);
  if (width < w) {
    platform::warn(QStringLiteral("数据出错![add_not]"));
    return {};
  }
  const QString filler(width - w, QLatin1Char(' '));
  if (side == kLeft) return filler + text;
  if (side == kRight) return text + filler;
  return text;
}

std::optional<float> to_single(const QString& text) {
  const QString trimmed = trim_spaces(text);
  QByteArray ascii;
  ascii.reserve(trimmed.size());
  int digits = 0;
  int points = 0;
  for (qsizetype i = 0; i < trimmed.size(); ++i) {
    const QChar c = trimmed[i];
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      ++digits;
    } else if (c == QLatin1Char('.')) {
      if (++points > 1) return std::nullopt;
    } else if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && i == 0) {
      if (c == QLatin1Char('+')) continue;  // from_chars takes no plus sign
    } else {
      return std::nullopt;
    }
    ascii.append(static_cast<char>(c.unicode()));
  }
  if (digits == 0) return std::nullopt;
  float value = 0;
  const auto [end, error] = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), value,
                                            std::chars_format::fixed);
  if (error != std::errc() || end != ascii.constData() + ascii.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

QString single_text(float value) {
  if (!std::isfinite(value) || value == 0.0f) return QStringLiteral("0");
  // Seven significant digits in scientific form, then written out in plain digits.
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(value));
  const QByteArray scientific(buffer);
  const bool negative = scientific.startsWith('-');
  const qsizetype ePos = scientific.indexOf('e');
  QByteArray mantissa = scientific.mid(negative ? 1 : 0, ePos - (negative ? 1 : 0));
  mantissa.replace(".", "");
  const int exponent = scientific.mid(ePos + 1).toInt();
  while (mantissa.size() > 1 && mantissa.endsWith('0')) mantissa.chop(1);
  // The value is 0.<mantissa> × 10^(exponent + 1).
  const int pointAt = exponent + 1;
  QByteArray plain;
  if (pointAt <= 0) {
    plain = "0." + QByteArray(-pointAt, '0') + mantissa;
  } else if (pointAt >= mantissa.size()) {
    plain = mantissa + QByteArray(pointAt - mantissa.size(), '0');
  } else {
    plain = mantissa.left(pointAt) + '.' + mantissa.mid(pointAt);
  }
  if (negative) plain.prepend('-');
  return QString::fromLatin1(plain);
}

QString money_text(QString& text) {
  const QString trimmed = trim_spaces(text);
  if (trimmed.isEmpty()) return QStringLiteral("0.00");
  text = trimmed;

  QString decimals = QStringLiteral(".00");
  const qsizetype point = text.lastIndexOf(QLatin1Char('.'));
  if (point >= 0) {
    const QString after = text.mid(point + 1);
    if (after.size() == 1) {
      decimals = QLatin1Char('.') + after + QLatin1Char('0');
    } else if (after.size() >= 2) {
      decimals = QLatin1Char('.') + after.left(2);
    }
  }

  QString integer = QStringLiteral("0");
  if (const std::optional<float> value = to_single(text)) {
    // Adding 0.0 turns a floor of -0 into 0.
    integer = QString::number(std::floor(static_cast<double>(*value)) + 0.0, 'f', 0);
  }
  return integer + decimals;
}

}  // namespace tavuro::textlayout
