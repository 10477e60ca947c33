#include "raw_sqlite.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <openssl/sha.h>

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

void bind_all(sqlite3_stmt* statement, const QList<QByteArray>& values) {
  for (int i = 0; i < values.size(); ++i) {
    sqlite3_bind_text(statement, i + 1, values[i].constData(), static_cast<int>(values[i].size()), SQLITE_TRANSIENT);
  }
}

void run(sqlite3* db, const char* sql, const QList<QByteArray>& values) {
  sqlite3_stmt* statement = nullptr;
  check(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), db);
  bind_all(statement, values);
  check(sqlite3_step(statement), db);
  sqlite3_finalize(statement);
}

void sync_folder_of(const QString& file) {
  const int fd = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0 || ::fsync(fd) != 0) throw std::runtime_error("folder flush");
  ::close(fd);
}

}  // namespace

void record_line_journaled(const QString& day_file, const QString& journal, const QString& backup,
                           const QStringList& values) {
  sqlite3* db = nullptr;
  check(sqlite3_open_v2(QFile::encodeName(day_file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
  check(sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr), db);
  run(db, "ATTACH DATABASE ? AS journal", {QFile::encodeName(journal)});
  check(sqlite3_exec(db, "PRAGMA journal.synchronous=EXTRA; BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
  QList<QByteArray> line;
  for (const QString& value : values) line << value.toUtf8();
  run(db,
      "INSERT INTO FileName (商品,数量,单价,金额,操作编号,时间,识别码,固定客户,单号) VALUES (?,?,?,?,?,?,'',?,?)",
      line);
  const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
  sqlite3_stmt* last = nullptr;
  check(sqlite3_prepare_v2(db, "SELECT number, hash FROM journal.Journal ORDER BY number DESC LIMIT 1", -1, &last,
                           nullptr),
        db);
  const bool has_last = sqlite3_step(last) == SQLITE_ROW;
  const sqlite3_int64 number = has_last ? sqlite3_column_int64(last, 0) + 1 : 1;
  const QByteArray previous = has_last ? QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(last, 1))) : QByteArray();
  sqlite3_finalize(last);
  const QByteArray after = line.join('\n');
  unsigned char digest[SHA256_DIGEST_LENGTH];
  const QByteArray chained = QByteArray::number(number) + after + previous;
  SHA256(reinterpret_cast<const unsigned char*>(chained.constData()), static_cast<size_t>(chained.size()), digest);
  run(db,
      "INSERT INTO journal.Journal (number, at, operator, file, record, kind, before, after, previous_hash, hash) "
      "VALUES (?, '2026-01-01 08:00:00', ?, ?, ?, '记录', '', ?, ?, ?)",
      {QByteArray::number(number), line[4], QFileInfo(day_file).fileName().toUtf8(), QByteArray::number(id), after,
       previous, QByteArray(reinterpret_cast<const char*>(digest), SHA256_DIGEST_LENGTH).toHex()});
  check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  check(sqlite3_exec(db, "DETACH DATABASE journal", nullptr, nullptr, nullptr), db);
  sqlite3_close_v2(db);
  const QString temporary = backup + QStringLiteral(".tmp");
  copy_file(day_file, temporary);
  if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(backup).constData()) != 0) {
    throw std::runtime_error("backup rename");
  }
  sync_folder_of(backup);
}

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
