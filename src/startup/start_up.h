#pragma once
// The start-up sequence: paths, month folder, setting files, data files, the cashier
// window, and last the customer list.

#include "startup/app_state.h"

#include <QDate>
#include <functional>

namespace tavuro::startup {

inline const QString kStartupMessage = QStringLiteral(
    "请不要将本软件安装在根目录，或不要在根目录上直接使用！请重新安装你的软件，"
    "并指定一个安装目录给它；或安装在默认的目录上。");

// Builds the paths for today, creates the month folder when missing and loads the four
// setting files (creating each missing one with its default).
void set_paths(AppState& state, const QString& app_dir, const QDate& today);

// Runs the whole sequence; show_main_window creates and shows the cashier window. A data
// file that cannot be made or read shows the one start-up message and stops the
// sequence; returns false then.
bool start_up(AppState& state, const QString& app_dir, const QDate& today,
              const std::function<void(AppState&)>& show_main_window);

// The directory of the running program when it is writable (a portable install keeps
// its data beside it), otherwise the per-user data location.
QString application_directory();

}  // namespace tavuro::startup
