#include "store/backup.h"

#include "platform/dialogs.h"
#include "platform/file_ops.h"
#include "store/data_file.h"
#include "store/recovery.h"

#include <QFile>
#include <QFileInfo>

namespace tavuro::store {

namespace {

bool is_whole_data_file(const QString& path) {
  try {
    return DataFile::open(path).is_intact();
  } catch (const StoreError&) {
    return false;
  }
}

void give_up(const QString& file) {
  platform::warn(QStringLiteral("备份数据文件出错。"));
  platform::warn(QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") + file + QLatin1Char(']'));
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
    if (!error.is_damage()) throw;
  }
  // Without its damaged bytes kept the file is not touched.
  const std::optional<QString> damaged_copy = keep_damaged_copy(file);
  const Schema* schema = schema_to_recover(file, backup);
  if (!damaged_copy || !QFileInfo(backup).isFile() || schema == nullptr) {
    give_up(file);
    return false;
  }
  const Recovery recovery = rebuild_file(file, *damaged_copy, backup, *schema);
  const auto tell = [&recovery](int records) {
    Recovery told = recovery;
    told.records = records;
    platform::inform(recovery_notice(told));
  };
  try {
    work();
  } catch (...) {
    tell(recovery.records);
    throw;
  }
  int records = recovery.records;
  try {
    records = DataFile::open(file).record_count();
  } catch (const StoreError&) {
  }
  tell(records);
  // The backup catches up at once with the rebuilt file and the change just made in it.
  if (recovery.backup_replaceable()) backup_file(file, backup, SourceCheck::Verify);
  return true;
}

}  // namespace tavuro::store
