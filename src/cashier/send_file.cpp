#include "cashier/send_file.h"

#include "platform/dialogs.h"
#include "platform/file_ops.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace tavuro::cashier {

namespace {

std::function<std::optional<QString>()>& destination_finder() {
  static std::function<std::optional<QString>()> finder;
  return finder;
}

bool under(const QString& path, const QString& folder) {
  return path.startsWith(folder + QLatin1Char('/'));
}

}  // namespace

QList<Volume> mounted_volumes() {
  QList<Volume> volumes;
  for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
    if (!storage.isValid()) continue;
    const QString root = storage.rootPath();
    volumes.append({root, storage.isReady(), storage.isReadOnly(), QFileInfo(root).isWritable()});
  }
  return volumes;
}

std::optional<QString> choose_removable_volume(const QList<Volume>& volumes) {
  for (const Volume& volume : volumes) {
    if (!under(volume.rootPath, QStringLiteral("/media")) && !under(volume.rootPath, QStringLiteral("/run/media"))) {
      continue;
    }
    if (volume.ready && !volume.readOnly && volume.writable) return volume.rootPath;
  }
  return std::nullopt;
}

std::optional<QString> send_destination() {
  if (destination_finder()) return destination_finder()();
  return choose_removable_volume(mounted_volumes());
}

ScopedSendDestination::ScopedSendDestination(std::optional<QString> folder) : previous_(destination_finder()) {
  destination_finder() = [folder] { return folder; };
}

ScopedSendDestination::~ScopedSendDestination() { destination_finder() = previous_; }

bool send_day_file(const QString& app_dir) {
  const platform::FileRequest request{QStringLiteral("选取你要发送的文件 -->"), app_dir, QString(),
                                      QStringLiteral("每天的数据文件名 (*.day)|*.DAY")};
  const std::optional<QString> chosen = platform::dialogs().open_file(request);
  if (!chosen || chosen->isEmpty()) return false;
  if (!platform::ask_yes_no(QStringLiteral("请插入你的软盘到[A：]驱动器，按“是”= 发送，“否”= 取消"),
                            platform::Icon::Information)) {
    return false;
  }
  const std::optional<QString> folder = send_destination();
  if (folder && platform::copy_file_atomic(*chosen, QDir(*folder).filePath(QFileInfo(*chosen).fileName()))) {
    return true;
  }
  platform::warn(QStringLiteral("驱动器[A：]未准备好！，或软盘已经损坏。"));
  return false;
}

}  // namespace tavuro::cashier
