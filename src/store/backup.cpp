#include "store/backup.h"

#include "platform/dialogs.h"
#include "platform/file_ops.h"
#include "store/data_file.h"

#include <QFile>
#include <QFileInfo>

namespace tavuro::store {

namespace {

bool is_whole_data_file(const QString& path) {
  try {
    return DataFile::open(path).isIntact();
  } catch (const StoreError&) {
    return false;
  }
}

void give_up(const QString& file) {
  platform::warn(QStringLiteral("备份数据文件出错。"));
  platform::warn(QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") + file + QLatin1Char(']'));
}

// A rollback journal left beside the damaged file belongs to it, not to the backup that
// is about to take its place: it goes aside with the damaged copy.
void set_journal_aside(const QString& file) {
  const QString journal = file + QStringLiteral("-journal");
  if (!QFileInfo::exists(journal)) return;
  platform::copy_file_atomic(journal, file + QStringLiteral(".bad-journal"));
  QFile::remove(journal);
}

}  // namespace

bool backup_file(const QString& source, const QString& target, SourceCheck check) {
  const bool sound = check == SourceCheck::AlreadySound || is_whole_data_file(source);
  if (sound && platform::refresh_copy(source, target)) return true;
  platform::warn(QLatin1Char('[') + source + QStringLiteral("]数据文件备份出错！"));
  return false;
}

bool with_recovery(const QString& file, const QString& backup, const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const StoreError& error) {
    if (!error.isDamage()) throw;
  }
  // Without its damaged copy set aside the file must not be replaced.
  if (!platform::copy_file_atomic(file, file + QStringLiteral(".bad")) || !QFileInfo(backup).isFile()) {
    give_up(file);
    return false;
  }
  set_journal_aside(file);
  if (!platform::copy_file_atomic(backup, file)) {
    give_up(file);
    return false;
  }
  work();
  return true;
}

}  // namespace tavuro::store
