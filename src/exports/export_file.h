#pragma once
// Where an export goes: the file the user chose, in the format its name asks for, written
// under a temporary name beside it and put in place only when complete, so that a failed
// or stopped export leaves no half file and never spoils an older one.

#include "exports/table_writer.h"

#include <functional>

namespace tavuro::exports {

struct ExportTarget {
  QString path;
  Format format = Format::Xlsx;
};

// A name ending in .csv (any letter case) is a CSV; any other is a workbook, and gets
// ".xlsx" added unless it ends so.
ExportTarget export_target(const QString& chosen);

// The save dialog's filter for the two formats, workbook first.
QString export_filter();

// Runs write on a writer for a temporary file beside target.path, completes the file and
// renames it over target.path. Whatever write throws (ExportError, ExportCancelled, a
// StoreError) comes out unchanged after the temporary file has been removed; the target
// is then as it was.
void write_export(const ExportTarget& target, bool titled_sections, const std::function<void(TableWriter&)>& write);

}  // namespace tavuro::exports
