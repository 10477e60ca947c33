#include "exports/table_writer.h"

#include "exports/csv_writer.h"
#include "exports/xlsx_writer.h"

namespace tavuro::exports {

std::unique_ptr<TableWriter> make_writer(Format format, const QString& path, bool titled_sections) {
  if (format == Format::Csv) return std::make_unique<CsvWriter>(path, titled_sections);
  return std::make_unique<XlsxWriter>(path);
}

void write_workbook(TableWriter& writer, const Workbook& workbook) {
  for (const Sheet& sheet : workbook.sheets) {
    writer.begin_sheet(sheet.name, sheet.columns);
    for (const Row& row : sheet.rows) writer.add_row(row);
    if (!sheet.totals.empty()) writer.add_row(sheet.totals, RowKind::Totals);
  }
}

}  // namespace tavuro::exports
