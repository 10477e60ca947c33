#pragma once
// The CSV writer: UTF-8 with a byte-order mark, comma-separated, CR LF.

#include "exports/table_writer.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

namespace tavuro::exports {

// One field as it goes into a line: made safe for a spreadsheet, then quoted (quotes
// doubled) when it holds a comma, a quote, a line end, or spaces at an end.
QString csv_field(const QString& text);

class CsvWriter final : public TableWriter {
 public:
  CsvWriter(const QString& path, bool titled_sections);
  ~CsvWriter() override;

  void begin_sheet(const QString& name, const std::vector<Column>& columns) override;
  void add_row(const Row& row, RowKind kind) override;
  void finish() override;

 private:
  void line(const QStringList& fields);
  void flush();

  QFile file_;
  QByteArray buffer_;
  bool titled_sections_;
  int sheets_ = 0;
  std::vector<Column> columns_;
};

}  // namespace tavuro::exports
