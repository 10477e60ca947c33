#include "printing/escpos.h"

#include <QStringEncoder>

#include <algorithm>

namespace tavuro::printing::escpos {

namespace {

constexpr char kEsc = 0x1B;
constexpr char kFs = 0x1C;
constexpr char kGs = 0x1D;
constexpr char kDle = 0x10;
constexpr char kEot = 0x04;
constexpr char kLf = 0x0A;

// Lines fed after the last one, so that it clears the tear bar.
constexpr int kFeedAfterReceipt = 3;

const QChar kReplacement(0xFF1F);  // ？
const QChar kYen(0x00A5);
const QChar kFullWidthYen(0xFFE5);  // ￥

QByteArray bytes(std::initializer_list<int> values) {
  QByteArray out;
  out.reserve(static_cast<qsizetype>(values.size()));
  for (const int value : values) out.append(static_cast<char>(value));
  return out;
}

bool is_control(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

void append_line(QStringEncoder& encoder, const QString& text, QByteArray& out) {
  out.append(encoder.encode(printable(text)));
  out.append(kLf);
}

}  // namespace

QByteArray initialize() { return bytes({kEsc, '@'}); }
QByteArray chinese_mode() { return bytes({kFs, '&'}); }
QByteArray feed_lines(int lines) { return bytes({kEsc, 'd', std::clamp(lines, 0, 255)}); }
QByteArray partial_cut() { return bytes({kGs, 'V', 66, 0}); }
QByteArray drawer_kick() { return bytes({kEsc, 'p', 0, 25, 250}); }
QByteArray status_query() { return bytes({kDle, kEot, 1}); }

QString printable(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      out.append(c);
      out.append(text[++i]);
    } else if (c.isSurrogate() || is_control(c.unicode())) {
      out.append(kReplacement);
    } else if (c == kYen) {
      out.append(kFullWidthYen);
    } else {
      out.append(c);
    }
  }
  return out;
}

bool gb18030_available() { return QStringEncoder("GB18030").isValid(); }

QByteArray text_line(const QString& text) {
  QStringEncoder encoder("GB18030");
  QByteArray line;
  append_line(encoder, text, line);
  return line;
}

QByteArray job(const QStringList& lines, bool cut, bool drawer) {
  QByteArray out = initialize() + chinese_mode();
  QStringEncoder encoder("GB18030");
  for (const QString& line : lines) append_line(encoder, line, out);
  out.append(feed_lines(kFeedAfterReceipt));
  if (cut) out.append(partial_cut());
  if (drawer) out.append(drawer_kick());
  return out;
}

}  // namespace tavuro::printing::escpos
