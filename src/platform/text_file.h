#pragma once
// Text in the shop's files: the one-line setting files (nober.dat, co.dat, p.dat,
// public.dat) and the report text files are written in GB18030, the Chinese multi-byte
// code page; reading also takes files a person wrote in UTF-8.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace tavuro::platform {

QByteArray to_local_code_page(const QString& text);
// The text of a file's bytes: GB18030 or UTF-8, whichever reads as ordinary text (UTF-8
// first when it reads as Chinese).
QString from_file_bytes(const QByteArray& bytes);

// The first line of a text file (without its line end); nullopt when the file is
// missing, unreadable or empty (there is no first line to read).
std::optional<QString> read_first_line(const QString& path);

// Writes text as the whole content of the file, without a line terminator.
bool write_one_line_file(const QString& path, const QString& text);

// Writes lines, each ended by CR LF, in GB18030.
bool write_text_lines(const QString& path, const QStringList& lines);

// The whole of a text file, decoded as from_file_bytes does; nullopt when unreadable.
std::optional<QString> read_text_file(const QString& path);

}  // namespace tavuro::platform
