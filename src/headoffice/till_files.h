#pragma once
// The two files by which a till takes part in a head office, in its application directory:
// till.dat, the till's name (one line; the host name when the file is missing or blank),
// and server.dat, the server's connection settings (one line: a libpq connection string or
// a postgresql:// URI). Without server.dat the till works alone.

#include <QString>
#include <optional>

namespace tavuro::headoffice {

inline const QString kTillFile = QStringLiteral("till.dat");
inline const QString kServerFile = QStringLiteral("server.dat");

// The till's name: the first line of till.dat, trimmed, or the host name.
QString till_name(const QString& app_dir);

// The server's settings; nullopt when server.dat is missing or blank.
std::optional<QString> server_settings(const QString& app_dir);

}  // namespace tavuro::headoffice
