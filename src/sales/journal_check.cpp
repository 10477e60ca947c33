#include "sales/journal_check.h"

#include "sales/journal_entry.h"
#include "sales/journaled_change.h"
#include "store/data_file.h"
#include "store/schemas.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <optional>

namespace tavuro::sales {

namespace {

// What the journal last said of a record: the entry that said it and the digest of the
// fields it gave (empty: the record was deleted).
struct Known {
  qint64 entry = 0;
  QByteArray digest;
};
using FileState = QHash<qint64, Known>;

struct OldFile {
  qint64 entry = 0;
  qsizetype records = 0;
};

QByteArray digest_of(const QString& text) {
  return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
}

QString entry_name(qint64 number) { return QStringLiteral("第 %1 条修改记录").arg(number); }

QString record_name(const QString& file, qint64 id) { return file + QStringLiteral(" 记录号 %1").arg(id); }

// Goods, time and receipt of a record, to tell it among the others.
QString summary_of(const QList<QPair<QString, QString>>& fields) {
  QStringList parts;
  for (const QString& name : {store::day::kGoods, store::day::kTime, store::day::kReceiptNo}) {
    for (const auto& [field, value] : fields) {
      if (field == name && !value.isEmpty()) parts << (name == store::day::kReceiptNo ? QStringLiteral("单号 ") : QString()) + value;
    }
  }
  return parts.isEmpty() ? QString() : QStringLiteral("（") + parts.join(QLatin1Char(' ')) + QStringLiteral("）");
}

class Replay {
 public:
  explicit Replay(const QString& journal) : journal_(journal) {}

  void take(const store::JournalEntry& entry) {
    ++entries_;
    check_chain(entry);
    apply(entry);
  }

  void add_problem(qint64 entry, const QString& file, qint64 record, const QString& text) {
    problems_.push_back({entry, file, record, text});
  }

  QHash<QString, FileState>& files() { return files_; }
  const QHash<QString, OldFile>& old_files() const { return old_files_; }
  std::vector<JournalFinding>& problems() { return problems_; }
  qint64 entries() const { return entries_; }

  // The fields the journal gave the record in entry number.
  QList<QPair<QString, QString>> fields_in(qint64 number, qint64 id) const {
    const std::optional<store::JournalEntry> entry = store::journal_entry(journal_, number);
    if (!entry) return {};
    if (entry->kind != kOldFileKind) return parse_fields_text(entry->after.isEmpty() ? entry->before : entry->after);
    for (const auto& [old_id, fields] : parse_old_records(entry->after)) {
      if (old_id == id) return parse_fields_text(fields);
    }
    return {};
  }

 private:
  void check_chain(const store::JournalEntry& entry) {
    if (entry.number > expected_) {
      const QString numbers = entry.number - 1 == expected_
                                  ? QString::number(expected_)
                                  : QStringLiteral("%1–%2").arg(expected_).arg(entry.number - 1);
      add_problem(expected_, {}, 0, QStringLiteral("第 %1 条修改记录不见了（被删除）").arg(numbers));
    } else if (entry.previous_hash != previous_hash_) {
      // The entry before was altered and given a new hash of its own; or this one's link was.
      const qint64 altered = previous_number_ > 0 ? previous_number_ : entry.number;
      if (altered != last_altered_) report_altered(altered, previous_file_, previous_record_);
    }
    if (entry_hash(entry) != entry.hash) report_altered(entry.number, entry.file, entry.record);
    expected_ = entry.number + 1;
    previous_hash_ = entry.hash;
    previous_number_ = entry.number;
    previous_file_ = entry.file;
    previous_record_ = entry.record;
  }

  void report_altered(qint64 number, const QString& file, qint64 record) {
    last_altered_ = number;
    const QString what = record > 0 ? QStringLiteral("（") + record_name(file, record) + QStringLiteral("）")
                                    : file.isEmpty() ? QString() : QStringLiteral("（") + file + QStringLiteral("）");
    add_problem(number, file, record, entry_name(number) + QStringLiteral("被改动") + what);
  }

  void apply(const store::JournalEntry& entry) {
    if (entry.kind == kOldFileKind) {
      const QList<QPair<qint64, QString>> records = parse_old_records(entry.after);
      FileState& state = files_[entry.file];
      for (const auto& [id, fields] : records) state.insert(id, {entry.number, digest_of(fields)});
      old_files_.insert(entry.file, {entry.number, records.size()});
      return;
    }
    if (entry.kind == kGoodsKind) return;  // the catalogue is not a day file of the month
    if (entry.kind != kRecordedKind && entry.kind != kDeletedKind && entry.kind != kEditedKind) {
      add_problem(entry.number, entry.file, entry.record,
                  entry_name(entry.number) + QStringLiteral("的类别“") + entry.kind + QStringLiteral("”不明"));
      return;
    }
    FileState& state = files_[entry.file];
    const auto known = state.constFind(entry.record);
    const bool live = known != state.cend() && !known->digest.isEmpty();
    const bool follows = entry.kind == kRecordedKind ? !live : live && known->digest == digest_of(entry.before);
    if (!follows) {
      add_problem(entry.number, entry.file, entry.record,
                  entry_name(entry.number) + QStringLiteral("与之前的修改记录接不上（") +
                      record_name(entry.file, entry.record) + QStringLiteral("）"));
    }
    state.insert(entry.record, {entry.number, entry.kind == kDeletedKind ? QByteArray() : digest_of(entry.after)});
  }

  QString journal_;
  QHash<QString, FileState> files_;
  QHash<QString, OldFile> old_files_;
  std::vector<JournalFinding> problems_;
  qint64 entries_ = 0;
  qint64 expected_ = 1;
  QString previous_hash_ = journal_seed();
  qint64 previous_number_ = 0;
  QString previous_file_;
  qint64 previous_record_ = 0;
  qint64 last_altered_ = 0;
};

// "数量 2.00 → 3.00": the fields in which the file differs from the journal.
QString differences(const QList<QPair<QString, QString>>& journal, const QList<QPair<QString, QString>>& file) {
  QStringList parts;
  for (const auto& [field, value] : file) {
    QString said;
    for (const auto& [journal_field, journal_value] : journal) {
      if (journal_field == field) said = journal_value;
    }
    if (said != value) parts << field + QLatin1Char(' ') + said + QStringLiteral(" → ") + value;
  }
  return parts.join(QStringLiteral("，"));
}

// Holds one day file against what the journal last said of its records.
void hold_file(Replay& replay, const QString& folder, const QString& name, qint64& records) {
  const FileState state = replay.files().value(name);
  QSet<qint64> seen;
  try {
    const store::DataFile file = store::DataFile::open(QDir(folder).filePath(name), store::day_schema());
    file.walk({}, [&](const store::Record& record) {
      ++records;
      seen.insert(record.id());
      const QString text = fields_text(file.fields(), record.values());
      const auto known = state.constFind(record.id());
      if (known != state.cend() && known->digest == digest_of(text)) return true;
      const QList<QPair<QString, QString>> fields = parse_fields_text(text);
      const QString what = record_name(name, record.id()) + summary_of(fields);
      if (known == state.cend()) {
        replay.add_problem(0, name, record.id(), what + QStringLiteral("不在修改记录中（被人加入）"));
      } else if (known->digest.isEmpty()) {
        replay.add_problem(known->entry, name, record.id(),
                           what + QStringLiteral("已在") + entry_name(known->entry) + QStringLiteral("中删除，却还在文件中"));
      } else {
        replay.add_problem(known->entry, name, record.id(),
                           what + QStringLiteral("与") + entry_name(known->entry) + QStringLiteral("不符（被人改动）：") +
                               differences(replay.fields_in(known->entry, record.id()), fields));
      }
      return true;
    });
  } catch (const store::StoreError&) {
    replay.add_problem(0, name, 0, name + QStringLiteral(" 无法读取，没有核对"));
    return;
  }
  QList<qint64> gone;
  for (auto it = state.cbegin(); it != state.cend(); ++it) {
    if (!it->digest.isEmpty() && !seen.contains(it.key())) gone << it.key();
  }
  std::sort(gone.begin(), gone.end());
  for (const qint64 id : gone) {
    const qint64 entry = state.value(id).entry;
    replay.add_problem(entry, name, id,
                       record_name(name, id) + summary_of(replay.fields_in(entry, id)) + QStringLiteral("在") +
                           entry_name(entry) + QStringLiteral("之后不见了（被人删除）"));
  }
}

QString old_file_note(const QString& name) { return name + QStringLiteral("：无修改记录的旧文件"); }

}  // namespace

QStringList JournalCheck::lines() const {
  QStringList lines;
  if (problems.empty()) lines << QStringLiteral("核对无误");
  for (const JournalFinding& problem : problems) lines << problem.text;
  return lines + notes;
}

JournalCheck check_month(const QString& month_folder) {
  JournalCheck check;
  const QString journal = journal_path(month_folder);
  const QStringList day_files = day_files_of(month_folder);
  if (!QFileInfo(journal).isFile()) {
    for (const QString& name : day_files) {
      bool has_records = false;
      try {
        has_records = store::DataFile::open(QDir(month_folder).filePath(name)).record_count() > 0;
      } catch (const store::StoreError&) {
        check.problems.push_back({0, name, 0, name + QStringLiteral(" 无法读取，没有核对")});
      }
      if (has_records) check.notes << old_file_note(name);
    }
    return check;
  }

  Replay replay(journal);
  try {
    store::walk_journal(journal, [&replay](const store::JournalEntry& entry) {
      replay.take(entry);
      return true;
    });
  } catch (const store::StoreError&) {
    check.problems.push_back({0, QStringLiteral("journal.db"), 0, QStringLiteral("修改记录文件 journal.db 无法读取，没有核对")});
    return check;
  }
  for (const QString& name : day_files) hold_file(replay, month_folder, name, check.records);

  // Files the journal still holds records of, but the folder no longer has.
  QStringList missing;
  for (auto it = replay.files().cbegin(); it != replay.files().cend(); ++it) {
    if (day_files.contains(it.key()) || !it.key().endsWith(QStringLiteral(".day"))) continue;
    qsizetype live = 0;
    qint64 last = 0;
    for (const Known& known : it.value()) {
      if (!known.digest.isEmpty()) ++live;
      last = std::max(last, known.entry);
    }
    if (live > 0) {
      replay.add_problem(last, it.key(), 0,
                         it.key() + QStringLiteral(" 不见了（修改记录中它还有 %1 条记录）").arg(live));
    }
  }
  for (const QString& name : day_files) {
    const auto old = replay.old_files().constFind(name);
    if (old == replay.old_files().cend()) continue;
    check.notes << old_file_note(name) + QStringLiteral("（修改记录开始前已有 %1 条记录，见").arg(old->records) +
                       entry_name(old->entry) + QStringLiteral("）");
  }
  check.problems = std::move(replay.problems());
  check.entries = replay.entries();
  return check;
}

QHash<qint64, QString> journal_last_word(const QString& journal, const QString& fileName) {
  QHash<qint64, QString> records;
  store::walk_journal(journal, [&](const store::JournalEntry& entry) {
    if (entry.file != fileName) return true;
    if (entry.kind == kOldFileKind) {
      for (const auto& [id, fields] : parse_old_records(entry.after)) records.insert(id, fields);
    } else if (entry.kind == kDeletedKind) {
      records.remove(entry.record);
    } else if (entry.kind == kRecordedKind || entry.kind == kEditedKind) {
      records.insert(entry.record, entry.after);
    }
    return true;
  });
  return records;
}

}  // namespace tavuro::sales
