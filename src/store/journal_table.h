#pragma once
// journal.db, the journal of changes of one month folder: one table "Journal" with one
// entry per change, numbered 1, 2, 3 … . What an entry says and how the entries are
// chained belongs to the sales library; the store keeps and reads them.

#include "store/store_error.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace tavuro::store {

namespace detail {
class Connection;
}

struct JournalEntry {
  qint64 number = 0;      // 1, 2, 3 … in the order of the changes
  QString at;             // when: yyyy-MM-dd HH:mm:ss
  QString op;             // the current operator
  QString file;           // the data file's name: 7.day, shop.dat
  qint64 record = 0;      // the record's id in that file
  QString kind;           // what was done
  QString before;         // the record before the change; empty: there was none
  QString after;          // the record after the change; empty: there is none
  QString previous_hash;  // the hash of the entry before
  QString hash;           // the hash of this entry

  friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

// The journal's table inside a transaction of the data file that ATTACHed it.
class JournalTable {
 public:
  JournalTable(const detail::Connection& connection, QString path) : connection_(connection), path_(std::move(path)) {}

  // The entry with the highest number; nullopt for an empty journal.
  std::optional<JournalEntry> last() const;
  void append(const JournalEntry& entry);

 private:
  const detail::Connection& connection_;
  QString path_;
};

// Makes a journal at path holding entries. It appears whole or not at all; an existing
// file is not replaced (Io). Throws Io when it cannot be made.
void create_journal(const QString& path, const std::vector<JournalEntry>& entries);

// Every entry of the journal at path in number order, handed to visit until it returns
// false. Throws Missing, Damaged (also for a database that is no journal) or Io.
void walk_journal(const QString& path, const std::function<bool(const JournalEntry&)>& visit);
// The entries of one file, or all (file empty), in number order.
std::vector<JournalEntry> journal_entries(const QString& path, const QString& file = {});
// At most limit entries numbered after after, in number order, read without any write to
// the file (another program's reading: the journal is opened read-only and waits only
// briefly for the till's lock). Throws Missing, Damaged or Io (also for a lock held too long).
std::vector<JournalEntry> read_journal_after(const QString& path, qint64 after, int limit);
// The entry with the highest number; nullopt for an empty journal.
std::optional<JournalEntry> last_journal_entry(const QString& path);
// The entry of that number.
std::optional<JournalEntry> journal_entry(const QString& path, qint64 number);

}  // namespace tavuro::store
