#pragma once
// The report commands of the cashier window (behind its password gate).

#include "startup/app_state.h"

class QWidget;

namespace tavuro::reports {

// Builds the sales report of day_file and shows it in the document window (not modal).
void print_day_report(startup::AppState& state, QWidget* parent, const QString& day_file);

// Asks for a day file ("打开打印文件 -->") and shows its sales report; cancel does nothing.
void choose_and_print_day_report(startup::AppState& state, QWidget* parent);

}  // namespace tavuro::reports
