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

QString from_file_bytes(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  QStringDecoder gb("GB18030");
  if (!gb.isValid()) return QString::fromLatin1(bytes);
  return gb.decode(bytes);
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
