#include "startup/paths.h"

#include "sales/journaled_change.h"

namespace tavuro::startup {

QString app_file(const QString& appDir, const QString& name) {
  if (appDir.endsWith(QLatin1Char('/'))) return appDir + name;
  return appDir + QLatin1Char('/') + name;
}

QString backup_path_of(const QString& path) { return path.left(path.size() - 4) + QStringLiteral(".bak"); }

Paths make_paths(const QString& appDir, const QDate& today) {
  Paths paths;
  paths.appDir = appDir;
  paths.monthFolder =
      app_file(appDir, QString::number(today.year()) + QLatin1Char('_') + QString::number(today.month()));
  paths.dayFile = paths.monthFolder + QLatin1Char('/') + QString::number(today.day()) + QStringLiteral(".day");
  paths.dayBackup = backup_path_of(paths.dayFile);
  paths.journalFile = sales::journal_path(paths.monthFolder);
  paths.shopFile = app_file(appDir, QStringLiteral("shop.dat"));
  paths.shopBackup = backup_path_of(paths.shopFile);
  paths.useFile = app_file(appDir, QStringLiteral("use.dat"));
  paths.kefuFile = app_file(appDir, QStringLiteral("kefu.dat"));
  paths.noberFile = app_file(appDir, QStringLiteral("nober.dat"));
  paths.coFile = app_file(appDir, QStringLiteral("co.dat"));
  paths.pFile = app_file(appDir, QStringLiteral("p.dat"));
  paths.publicFile = app_file(appDir, QStringLiteral("public.dat"));
  paths.printer_file = app_file(appDir, QStringLiteral("printer.dat"));
  return paths;
}

}  // namespace tavuro::startup
