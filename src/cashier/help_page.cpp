#include "cashier/help_page.h"

#include "platform/app_info.h"
#include "startup/paths.h"

namespace tavuro::cashier {

QString help_path(const QString& app_dir) { return startup::app_file(app_dir, QStringLiteral("readme.htm")); }

QString about_version_text() {
  return QStringLiteral("版本 ") + QString::number(platform::kVersionMajor) + QLatin1Char('.') +
         QString::number(platform::kVersionRevision);
}

}  // namespace tavuro::cashier
