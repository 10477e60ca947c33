#pragma once
// The steps every export command of the windows shares: the save dialog, a progress
// dialog when the work takes over a second (it can be stopped there), and the message
// that tells how it went.

#include "exports/export_file.h"
#include "exports/sale_rows.h"

#include <optional>

class QWidget;

namespace tavuro::exports {

struct ExportRequest {
  QString start_folder;  // where the save dialog opens
  QString fileName;     // the name it proposes, without a suffix
};

// Writes the export to target, telling progress as it goes. The text it returns is added
// to the success message ("共 12 行。"); nullopt when the work has already told the user
// why it could not be done (a day file that could not be read or mended).
using ExportWork = std::function<std::optional<QString>(const ExportTarget& target, const ExportProgress& progress)>;

// Asks for the file (cancel does nothing), runs work, and tells the outcome. true when
// the file was written.
bool export_with_dialogs(QWidget* parent, const ExportRequest& request, const ExportWork& work);

// The messages.
QString export_done_message(const QString& path, const QString& summary);
QString export_failed_message(const QString& path, const QString& reason);
QString export_cancelled_message();

}  // namespace tavuro::exports
