#pragma once
// Changes of a data file that go into the journal of changes with their entry, in one
// transaction over the data file and the month's journal.db: the change and its entry are
// on disk together or not at all. A change that the journal cannot take is not made.

#include "store/data_file.h"
#include "store/guarded.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace tavuro::sales {

// The day files of a folder (*.day) in the order of their day: 1.day, 2.day … 31.day.
QStringList day_files_of(const QString& folder);

// The month folders of an application directory (year_month), the latest first.
QStringList month_folders_of(const QString& app_dir);

// The journal of a month folder.
QString journal_path(const QString& month_folder);

// Who makes a change, when, and the journal that keeps it.
struct ChangeContext {
  QString journal;  // journal.db of the month folder
  QString op;       // the current operator, trimmed
  QDateTime when;
};

// The context of a change made now by op.
ChangeContext change_context(const QString& journal, const QString& op);

// Makes the journal of the folder that holds journal when it has none. Its first entries
// are one 旧文件 entry for each day file of the folder that already holds records,
// holding every one of them: the records from before the journal, known so that a later
// change of one by hand shows. Throws StoreError (Journal) when it cannot be made.
void start_journal(const QString& journal, const QString& op, const QDateTime& when);

// The message for a change that was not made because the journal could not take it.
QString journal_failure_message();
// The message for a line whose record has gone or changed since it was shown.
QString stale_record_message();

// A failure report for a procedure that changes a file through the journal: a journal that
// refused shows journal_failure_message(), any other store failure "数据出错！[procedure]".
store::FailureReport journal_or_store_failure(const QString& procedure);

// recovered() with that report: runs work on file under the damaged-file recovery (a
// journal that refused is no damage of file). True when work ran to its end.
bool journaled_recovered(const QString& procedure, const QString& file, const QString& backup,
                         const std::function<void()>& work);

// work_on_file with that report: runs work on file under the damaged-file recovery (a
// journal that refused is no damage of file), a missing file left alone. True when work
// ran to its end.
bool journaled_work(const QString& procedure, const QString& file, const QString& backup,
                    const std::function<void()>& work);

// Adds a record with values at the end of file and the entry of kind for it; returns the
// reference to the record as stored. Throws StoreError; a failure of the journal is Journal.
store::RecordRef append_journaled(store::DataFile& file, const ChangeContext& context, const QString& kind,
                                  const store::FieldValues& values);

// Changes the record of ref when it still holds what ref read, with the entry of kind for
// it; returns the reference to the record as it is now, or nullopt (nothing done) when the
// record has gone or changed. A change that changes nothing is no change: no entry.
std::optional<store::RecordRef> update_journaled(store::DataFile& file, const ChangeContext& context,
                                                 const QString& kind, const store::RecordRef& ref,
                                                 const store::FieldValues& values);

// Removes the record of ref when it still holds what ref read, with the entry of kind for
// it; false (nothing done) when the record has gone or changed.
bool remove_journaled(store::DataFile& file, const ChangeContext& context, const QString& kind,
                      const store::RecordRef& ref);

}  // namespace tavuro::sales
