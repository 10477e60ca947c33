#pragma once
// Today's list exported: the lines of the view shown (full, filtered or receipt), read
// again from the day file so that the export holds what the file holds, through the same
// damaged-file recovery as the view.

#include "cashier/today_view.h"
#include "exports/export_file.h"
#include "exports/sale_rows.h"

#include <optional>

namespace tavuro::cashier {

// The sheet of today's export.
inline const QString kTodaySheetName = QStringLiteral("销售记录");

// Writes the records behind the view's lines, in the view's order, from day_file into
// target. A damaged day file goes to the recovery (backup: day_backup) and the export is
// made again from the start. Returns "共 N 行。", or nullopt when the day file is missing
// or could not be read or mended (told already). Throws ExportError and ExportCancelled.
std::optional<QString> export_today_view(const TodayView& view, const QString& day_file, const QString& day_backup,
                                         const exports::ExportTarget& target, const exports::ExportProgress& progress);

}  // namespace tavuro::cashier
