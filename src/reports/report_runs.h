#pragma once
// Reports over several day files of one month folder: one report per file, one summed
// report, or the month-end report over every file of the folder.

#include "headoffice/pg_connection.h"
#include "startup/app_state.h"

#include <QStringList>
#include <functional>

namespace tavuro::reports {

enum class RunMode {
  Single,    // one report per file, one after another, each filling whole printed pages
  Summed,    // one report over the chosen files
  MonthEnd,  // one report over every file of the folder
};

// Told before each file is read: how many are done, of how many.
using RunProgress = std::function<void(int done, int total)>;

// A report run over file_names (names in folder, in list order). Deletes the pending report
// file first; asks for the company name when none is stored. A company name that cannot
// be saved, or an operator list that is missing or empty, ends the run with the day
// report's message. A file that is missing, empty or not a day file is skipped. true when
// p_file.run was written and named as the current report file; false after the run's
// message.
bool run_reports(startup::AppState& state, RunMode mode, const QString& folder, const QStringList& file_names,
                 const RunProgress& progress = {});

// The same run over the head office's server: the lines of file_names of the month folder
// named like folder, of till (every till when empty), summed by the server. The texts are
// those of the local run. Throws headoffice::ServerError when the server fails.
bool run_server_reports(startup::AppState& state, RunMode mode, const QString& folder, const QStringList& file_names,
                        headoffice::PgConnection& server, const QString& till, const RunProgress& progress = {});

}  // namespace tavuro::reports
