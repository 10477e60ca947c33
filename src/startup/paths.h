#pragma once
// The paths of every file of the shop, built once at start-up from the application
// directory and the date.

#include "startup/app_state.h"

#include <QDate>

namespace tavuro::startup {

// A file of the application directory: one separator between them, never two (a
// directory that is a root already ends in one).
QString app_file(const QString& app_dir, const QString& name);

// A path with its last four characters replaced by ".bak" (7.day → 7.bak).
QString backup_path_of(const QString& path);

// The paths for this application directory on this day (nothing is created).
Paths make_paths(const QString& app_dir, const QDate& today);

}  // namespace tavuro::startup
