#include "textlayout/text_layout.h"

#include "platform/dialogs.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace tavuro::textlayout {

namespace {

int char_width(char32_t c) {
  // Printable ASCII counts one column, except the double quote.
  if (c >= 0x20 && c <= 0x7E && c != U'"') return 1;
  return 2;
}

// The floor of the number a text is (optional sign, digits with at most one point), worked
// out on the digits themselves, so that no digit is lost however long the number is.
std::optional<QString> floor_text(const QString& text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  QString integer;
  bool fraction = false;  // a digit other than 0 after the point
  bool point = false;
  int digits = 0;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('.')) {
      if (point) return std::nullopt;
      point = true;
    } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      ++digits;
      if (point) {
        fraction = fraction || c != QLatin1Char('0');
      } else if (!integer.isEmpty() || c != QLatin1Char('0')) {
        integer += c;
      }
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  if (integer.isEmpty()) integer = QStringLiteral("0");
  if (!negative || (integer == QStringLiteral("0") && !fraction)) return integer;
  if (fraction) {
    // One more in magnitude: -1.5 has the floor -2.
    qsizetype at = integer.size() - 1;
    while (at >= 0 && integer[at] == QLatin1Char('9')) integer[at--] = QLatin1Char('0');
    if (at < 0) {
      integer.prepend(QLatin1Char('1'));
    } else {
      integer[at] = QChar(integer[at].unicode() + 1);
    }
  }
  return QLatin1Char('-') + integer;
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

  return floor_text(text).value_or(QStringLiteral("0")) + decimals;
}

}  // namespace tavuro::textlayout
