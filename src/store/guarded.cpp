#include "store/guarded.h"

#include "store/backup.h"

#include <QFileInfo>

namespace tavuro::store {

FailureReport show_message(const QString& text, platform::Icon icon) {
  return [text, icon](const StoreError&) { platform::dialogs().message(text, icon); };
}

void report_store_failure(const QString& procedure) {
  platform::warn(QStringLiteral("数据出错！[") + procedure + QLatin1Char(']'));
}

bool guarded(const FailureReport& report, const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const StoreError& error) {
    if (report) report(error);
    return false;
  }
}

bool guarded(const QString& procedure, const std::function<void()>& work) {
  return guarded([&procedure](const StoreError&) { report_store_failure(procedure); }, work);
}

bool guarded_quietly(const std::function<void()>& work) {
  return guarded(FailureReport(), work);
}

bool recovered(const QString& procedure, const QString& file, const QString& backup,
               const std::function<void()>& work) {
  bool done = false;
  guarded(procedure, [&] { done = with_recovery(file, backup, work); });
  return done;
}

bool work_on_file(const QString& procedure, const QString& file, const QString& backup,
                  const std::function<void()>& work) {
  // A folder in the file's place exists, and is damage for the recovery to meet.
  if (!QFileInfo::exists(file)) return false;
  return recovered(procedure, file, backup, work);
}

}  // namespace tavuro::store
