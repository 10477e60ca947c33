#include "store/data_file.h"

#include "platform/file_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <sqlite3.h>

namespace tavuro::store {

namespace {

const QString kTable = QStringLiteral("\"FileName\"");

using detail::Connection;
using detail::quoted;
using detail::Statement;

// The page count in the database header says how long the file must be; a file cut short
// by a crash or a bad copy is shorter. SQLite itself would only notice on the pages read.
void check_length(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;  // SQLite reports what it cannot open
  const qint64 size = file.size();
  if (size == 0) throw StoreError(StoreError::Kind::Damaged, path, QStringLiteral("empty file"));
  const QByteArray header = file.read(100);
  if (header.size() < 100 || !header.startsWith("SQLite format 3")) {
    throw StoreError(StoreError::Kind::Damaged, path, QStringLiteral("not a database"));
  }
  quint32 pageSize = qFromBigEndian<quint16>(header.constData() + 16);
  if (pageSize == 1) pageSize = 65536;
  const quint32 pages = qFromBigEndian<quint32>(header.constData() + 28);
  // Bytes after the last page are no damage: SQLite reads the pages the header counts and
  // cuts the rest off at the next change.
  if (pageSize < 512 || (pages != 0 && qint64(pages) * pageSize > size)) {
    throw StoreError(StoreError::Kind::Damaged, path, QStringLiteral("truncated"));
  }
}

Connection connect(const QString& path, int flags) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  Connection connection(db, path);
  if (rc != SQLITE_OK) {
    throw StoreError(rc == SQLITE_CANTOPEN ? StoreError::Kind::Damaged : StoreError::Kind::Io, path,
                     QString::fromUtf8(sqlite3_errstr(rc)));
  }
  sqlite3_extended_result_codes(db, 1);
  return connection;
}

void durable_settings(Connection& connection) {
  connection.exec("PRAGMA journal_mode=DELETE");
  // EXTRA flushes the folder once the rollback journal is deleted: without it a power cut
  // can bring the journal of a committed change back, and the next open rolls it back.
  connection.exec("PRAGMA synchronous=EXTRA");
  // A record whose size does not fit its page is damage at once; unchecked, reading it
  // goes past the record into whatever the page buffer held before, and the same damaged
  // file reads differently each time.
  connection.exec("PRAGMA cell_size_check=ON");
}

QString create_sql(const Schema& schema) {
  QStringList columns;
  for (const Field& field : schema.fields) {
    columns << quoted(field.name) + QStringLiteral(" TEXT CHECK(length(") + quoted(field.name) +
                   QStringLiteral(") <= ") + QString::number(field.maxLength) + QLatin1Char(')');
  }
  return QStringLiteral("CREATE TABLE ") + kTable + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
         QLatin1Char(')');
}

}  // namespace

QString Record::value(const QString& field) const {
  const qsizetype index = fields_->indexOf(field);
  if (index < 0 || index >= values_.size()) {
    throw StoreError(StoreError::Kind::WrongSchema, QString(), QStringLiteral("no field ") + field);
  }
  return values_[index];
}

DataFile DataFile::open(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) throw StoreError(StoreError::Kind::Missing, path, QStringLiteral("missing"));
  if (!info.isFile()) throw StoreError(StoreError::Kind::Damaged, path, QStringLiteral("not a file"));
  Connection connection = connect(path, SQLITE_OPEN_READWRITE);
  durable_settings(connection);
  auto fields = std::make_shared<QStringList>();
  {
    Statement columns(connection, QStringLiteral("SELECT name FROM pragma_table_info('FileName')"));
    while (columns.step()) fields->append(columns.text(0));
  }
  if (fields->isEmpty()) {
    throw StoreError(StoreError::Kind::Damaged, path, QStringLiteral("no table FileName"));
  }
  // Only now: reading the schema has rolled back what a crash left in a hot journal.
  check_length(path);
  return DataFile(std::move(connection), std::move(fields));
}

DataFile DataFile::open(const QString& path, const Schema& expected) {
  DataFile file = open(path);
  if (file.fields() != expected.names()) {
    throw StoreError(StoreError::Kind::WrongSchema, path,
                     QStringLiteral("fields ") + file.fields().join(QLatin1Char(',')));
  }
  return file;
}

DataFile DataFile::open_for_change(const QString& path, const Schema& expected, const QString& backup) {
  DataFile file = open(path, expected);
  if (!backup.isEmpty() && platform::same_content(path, backup)) return file;
  if (!file.is_intact()) throw StoreError(StoreError::Kind::Damaged, path, QStringLiteral("damaged pages"));
  return file;
}

void DataFile::create(const QString& path, const Schema& schema, const std::vector<Record>& records) {
  detail::build_aside(
      path, detail::Placement::Replace,
      [](const QString& temporary) {
        Connection connection = connect(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        durable_settings(connection);
        return connection;
      },
      [&](Connection& connection) {
        Statement(connection, create_sql(schema)).run();
        if (records.empty()) return;
        // Records come in as they were read, also a value longer than its field allows now.
        connection.exec("PRAGMA ignore_check_constraints=ON");
        QStringList names{QStringLiteral("rowid")};
        QStringList placeholders{QStringLiteral("?")};
        for (const Field& field : schema.fields) {
          names << quoted(field.name);
          placeholders << QStringLiteral("?");
        }
        Statement insert(connection, QStringLiteral("INSERT INTO ") + kTable + QStringLiteral(" (") +
                                         names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                         placeholders.join(QLatin1Char(',')) + QLatin1Char(')'));
        for (const Record& record : records) {
          insert.bind(1, record.id());
          for (qsizetype i = 0; i < schema.fields.size(); ++i) {
            insert.bind(static_cast<int>(i + 2), i < record.values().size() ? record.values()[i] : QString());
          }
          insert.run();
          insert.reset();
        }
      });
}

void DataFile::check_fields(const QStringList& fields) const {
  for (const QString& field : fields) {
    if (!fields_->contains(field)) {
      throw StoreError(StoreError::Kind::WrongSchema, path(), QStringLiteral("no field ") + field);
    }
  }
}

QString DataFile::column_list(const QStringList& fields) const {
  QStringList quoted_names;
  for (const QString& field : fields) quoted_names << quoted(field);
  return quoted_names.join(QStringLiteral(", "));
}

int DataFile::record_count() const {
  Statement count(connection_, QStringLiteral("SELECT count(*) FROM ") + kTable);
  count.step();
  return static_cast<int>(count.integer(0));
}

bool DataFile::is_intact() const {
  try {
    Statement check(connection_, QStringLiteral("PRAGMA quick_check"));
    return check.step() && check.text(0) == QStringLiteral("ok") && !check.step();
  } catch (const StoreError& error) {
    if (error.is_damage()) return false;
    throw;
  }
}

void DataFile::walk(const QStringList& fields, const std::function<bool(const Record&)>& visit) const {
  walk_where(fields, {}, visit);
}

void DataFile::walk_where(const QStringList& fields, const FieldValues& equal,
                         const std::function<bool(const Record&)>& visit) const {
  const QStringList wanted = fields.isEmpty() ? *fields_ : fields;
  check_fields(wanted);
  QStringList conditions;
  for (const auto& [field, value] : equal) {
    check_fields({field});
    conditions << QStringLiteral("ifnull(") + quoted(field) + QStringLiteral(", '') = ?");
  }
  auto names = fields.isEmpty() ? fields_ : std::make_shared<const QStringList>(wanted);
  const QString where =
      conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
  Statement select(connection_, QStringLiteral("SELECT rowid, ") + column_list(wanted) + QStringLiteral(" FROM ") +
                                    kTable + where + QStringLiteral(" ORDER BY rowid"));
  int index = 1;
  for (const auto& [field, value] : equal) select.bind(index++, value);
  const int count = static_cast<int>(wanted.size());
  while (select.step()) {
    QStringList values;
    values.reserve(count);
    for (int i = 1; i <= count; ++i) values << select.text(i);
    if (!visit(Record(select.integer(0), names, std::move(values)))) break;
  }
}

QStringList DataFile::column(const QString& field) const {
  QStringList values;
  walk({field}, [&values](const Record& record) {
    values << record.values().front();
    return true;
  });
  return values;
}

std::vector<Record> DataFile::records(const QStringList& fields) const {
  std::vector<Record> result;
  walk(fields, [&result](const Record& record) {
    result.push_back(record);
    return true;
  });
  return result;
}

std::optional<Record> DataFile::find_first(const QStringList& fields,
                                          const std::function<bool(const Record&)>& match) const {
  std::optional<Record> found;
  walk(fields, [&](const Record& record) {
    if (!match(record)) return true;
    found = record;
    return false;
  });
  return found;
}

qint64 DataFile::append(const FieldValues& values) {
  QStringList names;
  for (const auto& [field, value] : values) names << field;
  check_fields(names);
  // Every field gets a value, so that an unset field reads as empty text.
  QStringList all = *fields_;
  QStringList placeholders;
  for (qsizetype i = 0; i < all.size(); ++i) placeholders << QStringLiteral("?");
  Statement insert(connection_, QStringLiteral("INSERT INTO ") + kTable + QStringLiteral(" (") + column_list(all) +
                                    QStringLiteral(") VALUES (") + placeholders.join(QLatin1Char(',')) +
                                    QLatin1Char(')'));
  for (qsizetype i = 0; i < all.size(); ++i) {
    QString value;
    for (const auto& [field, given] : values) {
      if (field == all[i]) value = given;
    }
    insert.bind(static_cast<int>(i + 1), value);
  }
  insert.run();
  return sqlite3_last_insert_rowid(connection_.get());
}

void DataFile::append_all(const std::vector<FieldValues>& rows) {
  connection_.exec("BEGIN IMMEDIATE");
  try {
    for (const FieldValues& row : rows) append(row);
    connection_.exec("COMMIT");
  } catch (...) {
    sqlite3_exec(connection_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void DataFile::update(qint64 id, const FieldValues& values) {
  if (values.isEmpty()) return;
  QStringList names;
  QStringList assignments;
  for (const auto& [field, value] : values) {
    names << field;
    assignments << quoted(field) + QStringLiteral(" = ?");
  }
  check_fields(names);
  Statement change(connection_, QStringLiteral("UPDATE ") + kTable + QStringLiteral(" SET ") +
                                    assignments.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?"));
  int index = 1;
  for (const auto& [field, value] : values) change.bind(index++, value);
  change.bind(index, id);
  change.run();
  if (sqlite3_changes(connection_.get()) == 0) {
    throw StoreError(StoreError::Kind::Io, path(), QStringLiteral("no such record"));
  }
}

void DataFile::remove(qint64 id) {
  Statement erase(connection_, QStringLiteral("DELETE FROM ") + kTable + QStringLiteral(" WHERE rowid = ?"));
  erase.bind(1, id);
  erase.run();
  if (sqlite3_changes(connection_.get()) == 0) {
    throw StoreError(StoreError::Kind::Io, path(), QStringLiteral("no such record"));
  }
}

std::optional<QStringList> DataFile::values_of(qint64 id) const {
  Statement select(connection_, QStringLiteral("SELECT ") + column_list(*fields_) + QStringLiteral(" FROM ") + kTable +
                                    QStringLiteral(" WHERE rowid = ?"));
  select.bind(1, id);
  if (!select.step()) return std::nullopt;
  QStringList values;
  values.reserve(fields_->size());
  for (int i = 0; i < fields_->size(); ++i) values << select.text(i);
  return values;
}

namespace {

// A transaction over two files writes a super-journal beside the data file, which names
// both files' rollback journals. When the disk fills while the commit is written, SQLite
// may roll back without having written the super-journal's name into them, and the
// super-journal stays behind. Once neither rollback journal exists, nothing refers to any
// super-journal of the file: they go.
void remove_stale_super_journals(const QString& path, const QString& journal) {
  if (QFileInfo::exists(path + QStringLiteral("-journal")) || QFileInfo::exists(journal + QStringLiteral("-journal"))) {
    return;
  }
  const QFileInfo file(path);
  QDir folder = file.absoluteDir();
  for (const QString& name : folder.entryList({file.fileName() + QStringLiteral("-mj*")}, QDir::Files | QDir::Hidden)) {
    folder.remove(name);
  }
}

}  // namespace

void DataFile::with_journal(const QString& journal, const std::function<void(JournalTable&)>& work) {
  const auto refused = [&journal](const QString& detail) {
    return StoreError(StoreError::Kind::Journal, journal, detail);
  };
  if (!QFileInfo(journal).isFile()) throw refused(QStringLiteral("missing"));
  try {
    Statement attach(connection_, QStringLiteral("ATTACH DATABASE ? AS journal"));
    attach.bind(1, journal);
    attach.run();
  } catch (const StoreError& error) {
    throw refused(error.detail());
  }
  // Another program may be reading the journal (tavuro-sync ships it): the change waits a
  // moment for its lock instead of failing. Only here, where the journal is shared.
  sqlite3_busy_timeout(connection_.get(), detail::kBusyTimeoutMilliseconds);
  const auto detach = [this] {
    sqlite3_exec(connection_.get(), "DETACH DATABASE journal", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(connection_.get(), 0);
  };
  try {
    // The journal is as durable as the data file, whatever that is set to.
    Statement level(connection_, QStringLiteral("PRAGMA main.synchronous"));
    const qint64 synchronous = level.step() ? level.integer(0) : 2;
    connection_.exec("PRAGMA journal.journal_mode=DELETE");
    connection_.exec(QStringLiteral("PRAGMA journal.synchronous=%1").arg(synchronous).toUtf8().constData());
    Statement table(connection_, QStringLiteral(
                                     "SELECT count(*) FROM journal.sqlite_master WHERE type = 'table' AND name = 'Journal'"));
    if (!table.step() || table.integer(0) != 1) throw refused(QStringLiteral("no table Journal"));
  } catch (const StoreError& error) {
    detach();
    if (error.kind() == StoreError::Kind::Journal) throw;
    throw refused(error.detail());
  }
  connection_.exec("BEGIN IMMEDIATE");
  try {
    JournalTable table(connection_, journal);
    work(table);
    connection_.exec("COMMIT");
  } catch (...) {
    sqlite3_exec(connection_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    detach();
    remove_stale_super_journals(path(), journal);
    throw;
  }
  detach();
}

void DataFile::close() { connection_.close(); }

}  // namespace tavuro::store
