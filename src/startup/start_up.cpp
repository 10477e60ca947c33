#include "startup/start_up.h"

#include "platform/dialogs.h"
#include "platform/file_ops.h"
#include "startup/data_files.h"
#include "startup/paths.h"
#include "startup/settings.h"
#include "store/guarded.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tavuro::startup {

void set_paths(AppState& state, const QString& appDir, const QDate& today) {
  state.paths = make_paths(appDir, today);
  if (!QFileInfo(state.paths.monthFolder).isDir()) platform::make_folder(state.paths.monthFolder);
  load_receipt_counter(state);
  load_company_name(state);
  load_mask_setting(state);
  load_admin_password(state);
  load_receipt_printer(state);
}

bool start_up(AppState& state, const QString& appDir, const QDate& today,
              const std::function<void(AppState&)>& showMainWindow) {
  return store::guarded(store::show_message(kStartupMessage, platform::Icon::Exclamation), [&] {
    state.customerRegistered = false;
    state.printWindowFlag = false;
    set_paths(state, appDir, today);
    make_day_file(state);
    make_journal(state);
    make_shop_file(state);
    make_usefile(state);
    showMainWindow(state);
    make_KeFu_file(state);
  });
}

QString application_directory(Install install) {
  const QString programDir = QCoreApplication::applicationDirPath();
  if (install == Install::Portable && QFileInfo(programDir).isWritable()) return programDir;
  const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(dataDir);
  return dataDir;
}

}  // namespace tavuro::startup
