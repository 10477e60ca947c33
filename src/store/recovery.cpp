#include "store/recovery.h"

#include "platform/file_ops.h"

#include <QFile>
#include <QFileInfo>

#include <map>

namespace tavuro::store {

namespace {

constexpr int kMostDamagedCopies = 1000;

// A backup that SQLite reads whole, with its every record; nullopt otherwise.
std::optional<Salvage> whole_backup(const QString& backup, const Schema& schema) {
  try {
    const DataFile file = DataFile::open(backup, schema);
    if (!file.is_intact()) return std::nullopt;
    Salvage all;
    all.records = file.records();
    all.table_found = true;
    return all;
  } catch (const StoreError&) {
    return std::nullopt;
  }
}

Salvage salvage_of(const QString& path, const Schema& schema) {
  bool ok = false;
  const QByteArray bytes = platform::read_whole_file(path, &ok);
  return read_pages(ok ? bytes : QByteArray(), schema);
}

// A rollback journal left beside the damaged file belongs to it, not to the file rebuilt
// in its place: it goes with the damaged copy, under the name SQLite pairs with that copy.
void set_journal_aside(const QString& file, const QString& damaged_copy) {
  const QString journal = file + QStringLiteral("-journal");
  if (!QFileInfo::exists(journal)) return;
  platform::copy_file_atomic(journal, damaged_copy + QStringLiteral("-journal"));
  QFile::remove(journal);
  platform::sync_directory_of(journal);
}

}  // namespace

Merged merge_records(const Salvage& file, const Salvage& backup) {
  std::map<qint64, const Record*> chosen;
  for (const Record& record : file.records) chosen.emplace(record.id(), &record);
  Merged merged;
  for (const Record& record : backup.records) {
    if (!file.may_be_missing(record.id())) continue;
    if (chosen.emplace(record.id(), &record).second) ++merged.from_backup;
  }
  merged.records.reserve(chosen.size());
  for (const auto& [id, record] : chosen) merged.records.push_back(*record);
  return merged;
}

std::optional<QString> keep_damaged_copy(const QString& path) {
  for (int n = 0; n < kMostDamagedCopies; ++n) {
    const QString name = n == 0 ? path + QStringLiteral(".bad") : path + QStringLiteral(".%1.bad").arg(n);
    if (QFileInfo::exists(name)) {
      if (platform::same_content(path, name)) return name;
      continue;
    }
    if (!platform::copy_file_atomic(path, name)) return std::nullopt;
    return name;
  }
  return std::nullopt;
}

Recovery rebuild_file(const QString& file, const QString& damaged_copy, const QString& backup, const Schema& schema) {
  Recovery recovery;
  recovery.file = file;
  recovery.damaged_copy = damaged_copy;
  const Salvage from_file = salvage_of(file, schema);
  Salvage from_backup;
  if (std::optional<Salvage> whole = whole_backup(backup, schema)) {
    from_backup = std::move(*whole);
    recovery.backup_whole = true;
  } else {
    // A damaged backup is never copied in; what it still holds may complete the file.
    from_backup = salvage_of(backup, schema);
    if (std::optional<QString> kept = keep_damaged_copy(backup)) recovery.damaged_backup_copy = *kept;
  }
  Merged merged = merge_records(from_file, from_backup);
  recovery.rebuilt = recovery.records = static_cast<int>(merged.records.size());
  recovery.from_backup = merged.from_backup;
  set_journal_aside(file, damaged_copy);
  DataFile::create(file, schema, merged.records);
  return recovery;
}

QString recovery_notice(const Recovery& recovery) {
  const int from_file = recovery.rebuilt - recovery.from_backup;
  QString text =
      recovery.from_backup > 0
          ? QStringLiteral("数据文件已从备份恢复：%1\n从损坏的文件中读出 %2 条记录，从备份中取回 %3 条。")
                .arg(recovery.file)
                .arg(from_file)
                .arg(recovery.from_backup)
          : QStringLiteral("数据文件已修复：%1\n从损坏的文件中读出 %2 条记录。").arg(recovery.file).arg(from_file);
  text += QStringLiteral("\n文件现有 %1 条记录。").arg(recovery.records);
  text += QStringLiteral("\n损坏的文件保存为：") + recovery.damaged_copy;
  if (!recovery.backup_whole) {
    text += recovery.damaged_backup_copy.isEmpty()
                ? QStringLiteral("\n备份文件也已损坏。")
                : QStringLiteral("\n备份文件也已损坏，保存为：") + recovery.damaged_backup_copy;
  }
  return text;
}

const Schema* schema_to_recover(const QString& file, const QString& backup) {
  const QString name = QFileInfo(file).fileName();
  if (name.endsWith(QStringLiteral(".day"), Qt::CaseInsensitive)) return &day_schema();
  if (name.compare(QStringLiteral("shop.dat"), Qt::CaseInsensitive) == 0) return &shop_schema();
  try {
    const QStringList fields = DataFile::open(backup).fields();
    for (const Schema* schema : {&day_schema(), &shop_schema()}) {
      if (schema->names() == fields) return schema;
    }
  } catch (const StoreError&) {
  }
  return nullptr;
}

}  // namespace tavuro::store
