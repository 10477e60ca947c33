#pragma once
// The .xlsx writer over libxlsxwriter. Rows go to the library's temporary files as they
// come (its constant-memory mode), so a year of sale lines takes little memory.

#include "exports/table_writer.h"

#include <QByteArray>
#include <QStringList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace tavuro::exports {

// A worksheet name Excel accepts: none of []:*?/\ (each becomes "_"), at most 31
// characters, not empty, and different from the names already taken (a number is added).
QString worksheet_name(const QString& wanted, const QStringList& taken);

// Amounts beyond this many hundredths have more digits than a spreadsheet number holds
// exactly (15); they are written as their text.
inline constexpr qint64 kLargestExactHundredths = 999'999'999'999'999;

class XlsxWriter final : public TableWriter {
 public:
  explicit XlsxWriter(const QString& path);
  ~XlsxWriter() override;

  void begin_sheet(const QString& name, const std::vector<Column>& columns) override;
  void add_row(const Row& row, RowKind kind) override;
  void finish() override;

 private:
  void check(int error) const;
  void write_cell(int column, const Cell& cell, RowKind kind);

  QByteArray path_;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  QStringList sheet_names_;
  std::vector<Column> columns_;
  unsigned row_ = 0;
  lxw_format* header_ = nullptr;
  lxw_format* amount_ = nullptr;
  lxw_format* date_ = nullptr;
  lxw_format* total_text_ = nullptr;
  lxw_format* total_amount_ = nullptr;
};

}  // namespace tavuro::exports
