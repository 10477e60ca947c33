#pragma once
// The query report: a receipt-style text with the application title, the company name,
// the query's name, the result lines under a column header, the total, the date and a
// line to sign. It is printed on the default printer or written to txfile.txt for the
// document window.

#include "sales/money.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace tavuro::query {

struct QueryReport {
  QStringList result_lines;  // the lines of the result list, as shown
  QString description;      // what the query asked, e.g. 单号=000123
  sales::Money total{};
  QString company_name;
  QDate date;
};

// The report's lines, each starting with a four-space margin.
QStringList query_report_lines(const QueryReport& report);

// The report text file in the application directory.
QString query_report_file(const QString& app_dir);

// Prints the report lines at font size 12; false when the printer did not print them.
bool print_report_lines(const QStringList& lines);

// Writes an empty line, then the report lines, in the local code page with CR LF ends.
bool write_report_file(const QString& path, const QStringList& lines);

// Shown when the printer did not take the report.
QString report_not_printed_message();

}  // namespace tavuro::query
