#include "sales/journaled_change.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "store/backup.h"
#include "sales/journal_entry.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace tavuro::sales {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

store::JournalEntry entry_for(const ChangeContext& context, const store::DataFile& file, qint64 id,
                              const QString& kind, const QString& before, const QString& after) {
  store::JournalEntry entry;
  entry.at = context.when.toString(kTimeFormat);
  entry.op = context.op;
  entry.file = QFileInfo(file.path()).fileName();
  entry.record = id;
  entry.kind = kind;
  entry.before = before;
  entry.after = after;
  return entry;
}

void make_sure_of_journal(const ChangeContext& context) {
  if (!QFileInfo::exists(context.journal)) start_journal(context.journal, context.op, context.when);
}

}  // namespace

QStringList day_files_of(const QString& folder) {
  QStringList names = QDir(folder).entryList({QStringLiteral("*.day")}, QDir::Files, QDir::NoSort);
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int day_a = a.chopped(4).toInt();
    const int day_b = b.chopped(4).toInt();
    return day_a != day_b ? day_a < day_b : a < b;
  });
  return names;
}

QStringList month_folders_of(const QString& app_dir) {
  static const QRegularExpression month(QStringLiteral("^([0-9]{4})_([0-9]{1,2})$"));
  QList<QPair<int, QString>> found;
  for (const QString& name : QDir(app_dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QRegularExpressionMatch match = month.match(name);
    if (match.hasMatch()) found.append({match.captured(1).toInt() * 100 + match.captured(2).toInt(), name});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  QStringList names;
  for (const auto& [order, name] : found) names << name;
  return names;
}

QString journal_path(const QString& month_folder) { return QDir(month_folder).filePath(QStringLiteral("journal.db")); }

ChangeContext change_context(const QString& journal, const QString& op) {
  return {journal, textlayout::trim_spaces(op), platform::now()};
}

void start_journal(const QString& journal, const QString& op, const QDateTime& when) {
  const QString folder = QFileInfo(journal).absolutePath();
  std::vector<store::JournalEntry> entries;
  for (const QString& name : day_files_of(folder)) {
    QList<QPair<qint64, QString>> records;
    try {
      const store::DataFile file = store::DataFile::open(QDir(folder).filePath(name), store::day_schema());
      file.walk({}, [&](const store::Record& record) {
        records.append({record.id(), fields_text(file.fields(), record.values())});
        return true;
      });
    } catch (const store::StoreError&) {
      continue;  // a file that cannot be read is not vouched for: the check will say so
    }
    if (records.isEmpty()) continue;
    store::JournalEntry entry;
    entry.at = when.toString(kTimeFormat);
    entry.op = textlayout::trim_spaces(op);
    entry.file = name;
    entry.kind = kOldFileKind;
    entry.after = old_records_text(records);
    entries.push_back(chained(entries.empty() ? std::nullopt : std::optional(entries.back()), entry));
  }
  try {
    store::create_journal(journal, entries);
  } catch (const store::StoreError& error) {
    // Another journal appeared meanwhile: the change goes into that one.
    if (QFileInfo::exists(journal)) return;
    throw store::StoreError(store::StoreError::Kind::Journal, journal, error.detail());
  }
}

QString journal_failure_message() {
  return QStringLiteral("写修改记录时出错，这次修改没有保存。[journal.db]");
}

store::FailureReport journal_or_store_failure(const QString& procedure) {
  return [procedure](const store::StoreError& error) {
    if (error.kind() == store::StoreError::Kind::Journal) {
      platform::warn(journal_failure_message());
    } else {
      store::report_store_failure(procedure);
    }
  };
}

bool journaled_recovered(const QString& procedure, const QString& file, const QString& backup,
                         const std::function<void()>& work) {
  bool done = false;
  store::guarded(journal_or_store_failure(procedure), [&] { done = store::with_recovery(file, backup, work); });
  return done;
}

bool journaled_work(const QString& procedure, const QString& file, const QString& backup,
                    const std::function<void()>& work) {
  return QFileInfo::exists(file) && journaled_recovered(procedure, file, backup, work);
}

QString stale_record_message() { return QStringLiteral("该记录已被修改或删除，请刷新后再试。"); }

store::RecordRef append_journaled(store::DataFile& file, const ChangeContext& context, const QString& kind,
                                  const store::FieldValues& values) {
  make_sure_of_journal(context);
  store::RecordRef ref;
  file.with_journal(context.journal, [&](store::JournalTable& journal) {
    const qint64 id = file.append(values);
    const QStringList stored = file.values_of(id).value_or(QStringList());
    journal.append(chained(journal.last(), entry_for(context, file, id, kind, QString(),
                                                     fields_text(file.fields(), stored))));
    ref = {file.path(), id, stored};
  });
  return ref;
}

std::optional<store::RecordRef> update_journaled(store::DataFile& file, const ChangeContext& context,
                                                 const QString& kind, const store::RecordRef& ref,
                                                 const store::FieldValues& values) {
  make_sure_of_journal(context);
  std::optional<store::RecordRef> updated;
  file.with_journal(context.journal, [&](store::JournalTable& journal) {
    const std::optional<QStringList> before = file.values_of(ref.id);
    if (!before || *before != ref.values) return;
    file.update(ref.id, values);
    const QStringList after = file.values_of(ref.id).value_or(QStringList());
    updated = store::RecordRef{file.path(), ref.id, after};
    if (after == *before) return;
    journal.append(chained(journal.last(), entry_for(context, file, ref.id, kind, fields_text(file.fields(), *before),
                                                     fields_text(file.fields(), after))));
  });
  return updated;
}

bool remove_journaled(store::DataFile& file, const ChangeContext& context, const QString& kind,
                      const store::RecordRef& ref) {
  make_sure_of_journal(context);
  bool removed = false;
  file.with_journal(context.journal, [&](store::JournalTable& journal) {
    const std::optional<QStringList> before = file.values_of(ref.id);
    if (!before || *before != ref.values) return;
    file.remove(ref.id);
    journal.append(
        chained(journal.last(), entry_for(context, file, ref.id, kind, fields_text(file.fields(), *before), QString())));
    removed = true;
  });
  return removed;
}

}  // namespace tavuro::sales
