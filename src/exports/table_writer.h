#pragma once
// Writing a table into a file of one format, row by row, so that a year of sale lines
// never has to be held whole. Every failure throws ExportError.

#include "exports/table.h"

#include <memory>

namespace tavuro::exports {

enum class Format { Xlsx, Csv };

class TableWriter {
 public:
  virtual ~TableWriter() = default;
  // Starts a sheet (a worksheet; in a CSV a section) and writes its header row.
  virtual void begin_sheet(const QString& name, const std::vector<Column>& columns) = 0;
  // One row of the current sheet; a cell past the last column is an error of the caller.
  virtual void add_row(const Row& row, RowKind kind = RowKind::Data) = 0;
  // Completes the file. Nothing of it is to be trusted before this has returned.
  virtual void finish() = 0;
};

// A writer for the file at path (created or replaced). With titled_sections a CSV names
// each of its sections on a line of its own above the header (a workbook of several
// sheets); a workbook always names its sheets.
std::unique_ptr<TableWriter> make_writer(Format format, const QString& path, bool titled_sections = false);

// Writes every sheet of the workbook: header, rows in order, totals.
void write_workbook(TableWriter& writer, const Workbook& workbook);

}  // namespace tavuro::exports
