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

void set_paths(AppState& state, const QString& app_dir, const QDate& today) {
  state.paths = make_paths(app_dir, today);
  if (!QFileInfo(state.paths.month_folder).isDir()) platform::make_folder(state.paths.month_folder);
  load_receipt_counter(state);
  load_company_name(state);
  load_mask_setting(state);
  load_admin_password(state);
  load_receipt_printer(state);
}

bool start_up(AppState& state, const QString& app_dir, const QDate& today,
              const std::function<void(AppState&)>& show_main_window) {
  return store::guarded(store::show_message(kStartupMessage, platform::Icon::Exclamation), [&] {
    state.customer_registered = false;
    state.print_window_flag = false;
    set_paths(state, app_dir, today);
    make_day_file(state);
    make_journal(state);
    make_shop_file(state);
    make_usefile(state);
    show_main_window(state);
    make_KeFu_file(state);
  });
}

QString application_directory() {
  const QString program_dir = QCoreApplication::applicationDirPath();
  if (QFileInfo(program_dir).isWritable()) return program_dir;
  const QString data_dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data_dir);
  return data_dir;
}

}  // namespace tavuro::startup
