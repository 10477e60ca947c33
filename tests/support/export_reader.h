#pragma once
// Reading an export back as another program would: a CSV by the rules Excel writes and
// reads them, an .xlsx through openpyxl (tests/support/read_xlsx.py).

#include <QList>
#include <QString>
#include <QStringList>

namespace tavuro::testing {

struct CsvFile {
  bool byte_order_mark = false;  // the file starts with EF BB BF
  bool crlf = true;            // every line ends in CR LF
  QList<QStringList> rows;     // fields unquoted
};
CsvFile read_csv(const QString& path);

struct XlsxSheet {
  QString name;
  // "" for an empty cell, "s:text", "n:12.34|0.00" (number and format), "d:2026-12-08|yyyy-mm-dd".
  QList<QStringList> rows;
};
// The sheets in order; a failing read fails the test and gives none.
QList<XlsxSheet> read_xlsx(const QString& path);

}  // namespace tavuro::testing
