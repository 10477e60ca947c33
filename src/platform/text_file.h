#pragma once
// Text in the shop's files: the one-line setting files (nober.dat, co.dat, p.dat,
// public.dat) and the report text files are written in GB18030, the Chinese multi-byte
// code page; reading takes strict UTF-8 first and falls back to GB18030.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace tavuro::platform {

QByteArray to_local_code_page(const QString& text);
// Strict UTF-8 when the bytes are valid UTF-8, otherwise GB18030.
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
