#pragma once
// The document window in which every report is shown, touched up and printed.

#include "startup/app_state.h"

class QWidget;

namespace tavuro::reports {

// Opens the document window. It loads the current report file when there is one (then
// deletes the file and clears the path); with the print-window flag on, such a report is
// printed at once and the window closes. Modal: returns when the window has closed.
// Any document window already open is closed first (it asks to save its changes).
void show_document_window(startup::AppState& state, QWidget* parent, bool modal);

}  // namespace tavuro::reports
