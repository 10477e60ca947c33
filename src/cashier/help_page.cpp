#include "cashier/help_page.h"

#include "platform/app_info.h"
#include "startup/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tavuro::cashier {

namespace {

const QString kHelpFileName = QStringLiteral("readme.htm");

}  // namespace

QString help_path(const QString& app_dir) {
  const QString beside = startup::app_file(app_dir, kHelpFileName);
  if (QFileInfo::exists(beside)) return beside;
  // Installed system-wide the page is in share/tavuro/ beside the program's bin/ (the
  // install rules of src/app), while the application directory is the user's data folder.
  const QString installed =
      QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tavuro/") + kHelpFileName);
  return QFileInfo::exists(installed) ? installed : beside;
}

QString about_version_text() {
  return QStringLiteral("版本 ") + QString::number(platform::kVersionMajor) + QLatin1Char('.') +
         QString::number(platform::kVersionRevision);
}

}  // namespace tavuro::cashier
