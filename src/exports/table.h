#pragma once
// A table as the exports write it: named sheets of typed columns, a header row made from
// the column titles, rows of cells. Amounts stay exact (sales::Money) all the way to the
// file.

#include "sales/money.h"

#include <QDate>
#include <QString>
#include <stdexcept>
#include <variant>
#include <vector>

namespace tavuro::exports {

enum class ColumnKind { Text, Amount, Date, Whole };

struct Column {
  QString title;
  ColumnKind kind = ColumnKind::Text;
  int width = 10;  // in characters, as a spreadsheet measures them
};

// Empty, a text, an exact two-decimal amount, a date, a whole number.
using Cell = std::variant<std::monostate, QString, sales::Money, QDate, qint64>;
using Row = std::vector<Cell>;

// Data rows look plain; the totals row stands out.
enum class RowKind { Data, Totals };

struct Sheet {
  QString name;
  std::vector<Column> columns;
  std::vector<Row> rows;
  Row totals;  // written last, after the rows
};

// The sheets of one export, in order; empty when there is nothing to export.
struct Workbook {
  std::vector<Sheet> sheets;
  bool empty() const { return sheets.empty(); }
};

// A file that could not be written; what() says why, in Chinese.
class ExportError : public std::runtime_error {
 public:
  explicit ExportError(const QString& reason) : std::runtime_error(reason.toStdString()), reason_(reason) {}
  const QString& reason() const { return reason_; }

 private:
  QString reason_;
};

// The user stopped the export; nothing has been written.
struct ExportCancelled {};

}  // namespace tavuro::exports
