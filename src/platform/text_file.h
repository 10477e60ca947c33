#pragma once
// Text in the shop's files. The one-line setting files (nober.dat, co.dat, p.dat,
// public.dat) are written in UTF-8, marked as such unless they are plain ASCII; the report
// text files in GB18030, the Chinese multi-byte code page. Reading takes any of them, and
// also files an older install wrote in GBK and files a person wrote in UTF-8 (the rule:
// text_encoding.h, docs/TEXT_FILES.md).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace tavuro::platform {

QByteArray to_local_code_page(const QString& text);
// The bytes of a setting file holding text: ASCII as it is, any other text in UTF-8
// after the UTF-8 byte-order mark.
QByteArray setting_file_bytes(const QString& text);
// The text of a file's bytes, in whichever code page they were written (decode_text).
QString from_file_bytes(const QByteArray& bytes);

// The first line of a text file (without its line end); nullopt when the file is
// missing, unreadable or empty (there is no first line to read).
std::optional<QString> read_first_line(const QString& path);

// Writes text as the whole content of a setting file, without a line terminator.
bool write_one_line_file(const QString& path, const QString& text);

// Writes lines, each ended by CR LF, in GB18030.
bool write_text_lines(const QString& path, const QStringList& lines);

// The whole of a text file, decoded as from_file_bytes does; nullopt when unreadable.
std::optional<QString> read_text_file(const QString& path);

}  // namespace tavuro::platform
