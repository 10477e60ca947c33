#pragma once
// The check of a month: the journal's chain from its seed to its last entry, and every day
// file of the month folder held against the journal's last word on each of its records.
// A field changed by hand, a record added or deleted by hand, an entry altered or removed
// are each found with the entry number and the record concerned.

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace tavuro::sales {

struct JournalFinding {
  qint64 entry = 0;   // the entry concerned; 0: none
  QString file;       // the data file concerned; empty: none
  qint64 record = 0;  // the record concerned; 0: none
  QString text;       // what was found, as the user reads it
};

struct JournalCheck {
  std::vector<JournalFinding> problems;
  // Day files holding records from before the journal: "7.day：无修改记录的旧文件…".
  QStringList notes;
  qint64 entries = 0;  // entries read
  qint64 records = 0;  // day-file records held against them

  bool sound() const { return problems.empty(); }
  // "核对无误" or one line per problem, then the notes.
  QStringList lines() const;
};

// Checks the journal.db and the day files of month_folder. A folder without a journal has
// nothing to hold its files against: each day file with records is a note.
JournalCheck check_month(const QString& month_folder);

// What the journal last said of each record of one file: id → its fields text (as the
// entries hold them); records the journal says were deleted are absent. Entries that do
// not chain are taken as they stand. Throws StoreError when the journal cannot be read.
QHash<qint64, QString> journal_last_word(const QString& journal, const QString& fileName);

}  // namespace tavuro::sales
