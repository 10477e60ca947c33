#include "platform/text_file.h"

#include "platform/file_ops.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tavuro::platform {

QByteArray to_local_code_page(const QString& text) {
  QStringEncoder encoder("GB18030");
  if (!encoder.isValid()) return text.toUtf8();
  QByteArray bytes = encoder.encode(text);
  return bytes;
}

namespace {

bool is_han(char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

// Characters a shop's text is made of: ASCII, Latin letters, Chinese characters, CJK and
// full-width punctuation, general punctuation, box drawing.
bool is_common(char32_t c) {
  return (c >= 0x20 && c < 0x7F) || c == U'\t' || c == U'\r' || c == U'\n' || (c >= 0xA0 && c <= 0xFF) ||
         is_han(c) || (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x2010 && c <= 0x205E) ||
         (c >= 0x2500 && c <= 0x257F);
}

bool all_common(const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    if (!is_common(c)) return false;
  }
  return true;
}

bool has_han(const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    if (is_han(c)) return true;
  }
  return false;
}

}  // namespace

// The program writes GB18030; a person may have written a file in UTF-8. Short GB18030
// texts are often valid UTF-8 too (the two bytes of 屎 read as UTF-8 give ʺ), so valid
// UTF-8 wins outright only when it reads as Chinese text; otherwise GB18030 wins when it
// reads as ordinary text, and strict UTF-8 before GB18030 when neither does.
QString from_file_bytes(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  const QString asUtf8 = utf8.decode(bytes);
  const bool validUtf8 = !utf8.hasError();
  if (validUtf8 && has_han(asUtf8) && all_common(asUtf8)) return asUtf8;
  QStringDecoder gb("GB18030", QStringConverter::Flag::Stateless);
  if (!gb.isValid()) return validUtf8 ? asUtf8 : QString::fromLatin1(bytes);
  const QString asGb = gb.decode(bytes);
  if (!gb.hasError() && all_common(asGb)) return asGb;
  return validUtf8 ? asUtf8 : asGb;
}

std::optional<QString> read_first_line(const QString& path) {
  bool ok = false;
  const QByteArray bytes = read_whole_file(path, &ok);
  if (!ok || bytes.isEmpty()) return std::nullopt;
  qsizetype end = bytes.indexOf('\n');
  if (end < 0) end = bytes.size();
  QByteArray line = bytes.left(end);
  if (line.endsWith('\r')) line.chop(1);
  return from_file_bytes(line);
}

bool write_one_line_file(const QString& path, const QString& text) {
  return write_file_atomic(path, to_local_code_page(text));
}

bool write_text_lines(const QString& path, const QStringList& lines) {
  QString all;
  for (const QString& line : lines) all += line + QStringLiteral("\r\n");
  return write_file_atomic(path, to_local_code_page(all));
}

std::optional<QString> read_text_file(const QString& path) {
  bool ok = false;
  const QByteArray bytes = read_whole_file(path, &ok);
  if (!ok) return std::nullopt;
  return from_file_bytes(bytes);
}

}  // namespace tavuro::platform
