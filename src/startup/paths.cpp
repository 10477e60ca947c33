#include "startup/paths.h"

#include "sales/journaled_change.h"

namespace tavuro::startup {

QString app_file(const QString& app_dir, const QString& name) {
  if (app_dir.endsWith(QLatin1Char('/'))) return app_dir + name;
  return app_dir + QLatin1Char('/') + name;
}

QString backup_path_of(const QString& path) { return path.left(path.size() - 4) + QStringLiteral(".bak"); }

Paths make_paths(const QString& app_dir, const QDate& today) {
  Paths paths;
  paths.app_dir = app_dir;
  paths.month_folder =
      app_file(app_dir, QString::number(today.year()) + QLatin1Char('_') + QString::number(today.month()));
  paths.day_file = paths.month_folder + QLatin1Char('/') + QString::number(today.day()) + QStringLiteral(".day");
  paths.day_backup = backup_path_of(paths.day_file);
  paths.journal_file = sales::journal_path(paths.month_folder);
  paths.shop_file = app_file(app_dir, QStringLiteral("shop.dat"));
  paths.shop_backup = backup_path_of(paths.shop_file);
  paths.use_file = app_file(app_dir, QStringLiteral("use.dat"));
  paths.kefu_file = app_file(app_dir, QStringLiteral("kefu.dat"));
  paths.nober_file = app_file(app_dir, QStringLiteral("nober.dat"));
  paths.co_file = app_file(app_dir, QStringLiteral("co.dat"));
  paths.p_file = app_file(app_dir, QStringLiteral("p.dat"));
  paths.public_file = app_file(app_dir, QStringLiteral("public.dat"));
  paths.printer_file = app_file(app_dir, QStringLiteral("printer.dat"));
  return paths;
}

}  // namespace tavuro::startup
