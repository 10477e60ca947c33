#include "store/journal_table.h"

#include "store/sqlite_handle.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace tavuro::store {

namespace {

using detail::Connection;
using detail::Statement;

const char* const kCreate =
    "CREATE TABLE \"Journal\" (number INTEGER PRIMARY KEY, at TEXT, operator TEXT, file TEXT, record INTEGER, "
    "kind TEXT, before TEXT, after TEXT, previous_hash TEXT, hash TEXT)";
const QString kColumns =
    QStringLiteral("number, at, operator, file, record, kind, before, after, previous_hash, hash");

Connection open_journal_db(const QString& path, bool create) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
  Connection connection(db, path);
  if (rc != SQLITE_OK) connection.fail(rc, "open");
  sqlite3_extended_result_codes(db, 1);
  connection.exec("PRAGMA journal_mode=DELETE");
  connection.exec("PRAGMA synchronous=FULL");
  connection.exec("PRAGMA cell_size_check=ON");
  return connection;
}

JournalEntry entry_of(const Statement& row) {
  return {row.integer(0), row.text(1), row.text(2), row.text(3), row.integer(4),
          row.text(5),    row.text(6), row.text(7), row.text(8), row.text(9)};
}

void bind_entry(Statement& insert, const JournalEntry& entry) {
  insert.bind(1, entry.number);
  insert.bind(2, entry.at);
  insert.bind(3, entry.op);
  insert.bind(4, entry.file);
  insert.bind(5, entry.record);
  insert.bind(6, entry.kind);
  insert.bind(7, entry.before);
  insert.bind(8, entry.after);
  insert.bind(9, entry.previous_hash);
  insert.bind(10, entry.hash);
}

QString insert_sql(const QString& schema) {
  return QStringLiteral("INSERT INTO ") + schema + QStringLiteral(".\"Journal\" (") + kColumns +
         QStringLiteral(") VALUES (?,?,?,?,?,?,?,?,?,?)");
}

// A journal opened to be read: it must be a database with the journal's table.
Connection open_existing(const QString& path) {
  if (!QFileInfo(path).isFile()) throw StoreError(StoreError::Kind::Missing, path, QStringLiteral("missing"));
  Connection connection = open_journal_db(path, false);
  Statement table(connection, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Journal'"));
  if (!table.step() || table.integer(0) != 1) {
    throw StoreError(StoreError::Kind::Damaged, path, QStringLiteral("no table Journal"));
  }
  return connection;
}

// A journal opened by another program than the till's, which must never write to it.
Connection open_read_only(const QString& path) {
  if (!QFileInfo(path).isFile()) throw StoreError(StoreError::Kind::Missing, path, QStringLiteral("missing"));
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
  Connection connection(db, path);
  if (rc != SQLITE_OK) connection.fail(rc, "open");
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, detail::kBusyTimeoutMilliseconds);
  return connection;
}


}  // namespace

std::optional<JournalEntry> JournalTable::last() const {
  try {
    Statement select(connection_, QStringLiteral("SELECT ") + kColumns +
                                      QStringLiteral(" FROM journal.\"Journal\" ORDER BY number DESC LIMIT 1"));
    if (!select.step()) return std::nullopt;
    return entry_of(select);
  } catch (const StoreError& error) {
    // Damage of the journal is no damage of the data file that attached it; a full disk
    // stays what it is.
    if (error.kind() == StoreError::Kind::Io) throw;
    throw StoreError(StoreError::Kind::Journal, path_, error.detail());
  }
}

void JournalTable::append(const JournalEntry& entry) {
  try {
    Statement insert(connection_, insert_sql(QStringLiteral("journal")));
    bind_entry(insert, entry);
    insert.run();
  } catch (const StoreError& error) {
    if (error.kind() == StoreError::Kind::Io) throw;
    throw StoreError(StoreError::Kind::Journal, path_, error.detail());
  }
}

void create_journal(const QString& path, const std::vector<JournalEntry>& entries) {
  detail::build_aside(
      path, detail::Placement::NeverReplace, [](const QString& temporary) { return open_journal_db(temporary, true); },
      [&entries](Connection& connection) {
        connection.exec(kCreate);
        Statement insert(connection, insert_sql(QStringLiteral("main")));
        for (const JournalEntry& entry : entries) {
          bind_entry(insert, entry);
          insert.run();
          insert.reset();
        }
      });
}

void walk_journal(const QString& path, const std::function<bool(const JournalEntry&)>& visit) {
  const Connection connection = open_existing(path);
  Statement select(connection, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM \"Journal\" ORDER BY number"));
  while (select.step()) {
    if (!visit(entry_of(select))) break;
  }
}

std::vector<JournalEntry> journal_entries(const QString& path, const QString& file) {
  const Connection connection = open_existing(path);
  Statement select(connection, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM \"Journal\"") +
                                   (file.isEmpty() ? QString() : QStringLiteral(" WHERE file = ?")) +
                                   QStringLiteral(" ORDER BY number"));
  if (!file.isEmpty()) select.bind(1, file);
  std::vector<JournalEntry> entries;
  while (select.step()) entries.push_back(entry_of(select));
  return entries;
}

std::vector<JournalEntry> read_journal_after(const QString& path, qint64 after, int limit) {
  const Connection connection = open_read_only(path);
  Statement select(connection, QStringLiteral("SELECT ") + kColumns +
                                   QStringLiteral(" FROM \"Journal\" WHERE number > ? ORDER BY number LIMIT ?"));
  select.bind(1, after);
  select.bind(2, qint64(limit));
  std::vector<JournalEntry> entries;
  while (select.step()) entries.push_back(entry_of(select));
  return entries;
}

std::optional<JournalEntry> last_journal_entry(const QString& path) {
  const Connection connection = open_existing(path);
  Statement select(connection,
                   QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM \"Journal\" ORDER BY number DESC LIMIT 1"));
  if (!select.step()) return std::nullopt;
  return entry_of(select);
}

std::optional<JournalEntry> journal_entry(const QString& path, qint64 number) {
  const Connection connection = open_existing(path);
  Statement select(connection, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM \"Journal\" WHERE number = ?"));
  select.bind(1, number);
  if (!select.step()) return std::nullopt;
  return entry_of(select);
}

}  // namespace tavuro::store
