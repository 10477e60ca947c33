#include "platform/text_file.h"

#include "platform/file_ops.h"
#include "platform/text_encoding.h"

#include <QStringEncoder>

namespace tavuro::platform {

QByteArray to_local_code_page(const QString& text) {
  QStringEncoder encoder("GB18030");
  if (!encoder.isValid()) return text.toUtf8();
  QByteArray bytes = encoder.encode(text);
  return bytes;
}

QString from_file_bytes(const QByteArray& bytes) {
  return decode_text(bytes);
}

namespace {

bool is_ascii(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() >= 0x80) return false;
  }
  return true;
}

}  // namespace

QByteArray setting_file_bytes(const QString& text) {
  // ASCII reads the same in every code page; any other text is marked as UTF-8.
  if (is_ascii(text)) return text.toLatin1();
  return QByteArray(kUtf8Mark) + text.toUtf8();
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
  return write_file_atomic(path, setting_file_bytes(text));
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
