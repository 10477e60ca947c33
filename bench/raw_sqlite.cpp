#include "raw_sqlite.h"

#include <QFile>

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <stdexcept>

namespace tavuro::bench::raw {

namespace {

void check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
}

void copy_file(const QString& from, const QString& to) {
  QFile source(from);
  if (!source.open(QIODevice::ReadOnly)) throw std::runtime_error("copy source");
  const QByteArray bytes = source.readAll();
  const int fd = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size() || ::fsync(fd) != 0) {
    throw std::runtime_error("copy target");
  }
  ::close(fd);
}

}  // namespace

void record_line(const QString& day_file, const QString& backup, const QStringList& values) {
  sqlite3* db = nullptr;
  check(sqlite3_open_v2(QFile::encodeName(day_file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
  check(sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr), db);
  sqlite3_stmt* insert = nullptr;
  check(sqlite3_prepare_v2(db,
                           "INSERT INTO FileName (商品,数量,单价,金额,操作编号,时间,识别码,固定客户,单号) "
                           "VALUES (?,?,?,?,?,?,'',?,?)",
                           -1, &insert, nullptr),
        db);
  for (int i = 0; i < values.size(); ++i) {
    const QByteArray utf8 = values[i].toUtf8();
    sqlite3_bind_text(insert, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
  }
  check(sqlite3_step(insert), db);
  sqlite3_finalize(insert);
  sqlite3_close_v2(db);
  copy_file(day_file, backup);
}

void select(const QString& file, const QString& sql, const QStringList& binds,
            const std::function<void(const QStringList& row)>& visit) {
  sqlite3* db = nullptr;
  check(sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr), db);
  sqlite3_stmt* statement = nullptr;
  check(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr), db);
  for (int i = 0; i < binds.size(); ++i) {
    const QByteArray utf8 = binds[i].toUtf8();
    sqlite3_bind_text(statement, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
  }
  const int columns = sqlite3_column_count(statement);
  QStringList row;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    row.clear();
    for (int c = 0; c < columns; ++c) {
      row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                               sqlite3_column_bytes(statement, c));
    }
    visit(row);
  }
  sqlite3_finalize(statement);
  sqlite3_close_v2(db);
}

}  // namespace tavuro::bench::raw
