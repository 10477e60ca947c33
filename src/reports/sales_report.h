#pragma once
// The daily sales report of one day file: goods and operator sums written as the text file
// p_file.run, which becomes the current report file for the document window.

#include "startup/app_state.h"

namespace tavuro::reports {

// <application directory>/p_file.run
QString report_file_path(const startup::AppState& state);

// When no company name is stored, asks for one; a non-blank answer is kept exactly as
// typed and written to co.dat. false when co.dat could not be written.
bool ask_company_name(startup::AppState& state);

// The report's messages: the operator list is missing or empty; a file could not be read
// or written ("not a day file").
void fail_operators();
void fail_wrong_file();

// Builds the report of day_file with today's date. On success p_file.run is written, the
// current report file names it, and true is returned. On failure one of the report's
// messages has been shown and false is returned.
bool build_sales_report(startup::AppState& state, const QString& day_file);

}  // namespace tavuro::reports
