#pragma once
// The text of a sales report: company and title lines, the goods table, the operator table
// and the remarks box drawn with box characters, and the date line. Widths are display
// widths (a CJK or box character takes two columns); every line after the first starts
// with a two-space margin.

#include "sales/money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace tavuro::reports {

struct GoodsRow {
  QString name;
  sales::Money quantity{};  // a quantity is a two-decimal number held like an amount
  sales::Money amount{};
};

struct OperatorRow {
  QString name;
  sales::Money amount{};
};

struct ReportTables {
  std::vector<GoodsRow> goods;
  std::vector<OperatorRow> operators;
};

// Rows named after the catalogues, all sums zero.
ReportTables empty_tables(const QStringList& goods, const QStringList& operators);

// folder + "_" + the file's name less its last four characters: .../2003_5/7.day → 2003_5_7.
QString title_stem(const QString& day_file_path);
// folder + "_[" + item texts less their last four characters, joined by "," + "]日合计".
QString summed_title_stem(const QString& folder_path, const QStringList& file_names);
// folder + "_[月结]".
QString month_end_title_stem(const QString& folder_path);

// "2003年5月7日".
QString report_date_text(const QDate& date);

// The tables, without the margin.
QStringList goods_table(const std::vector<GoodsRow>& rows);
QStringList operator_table(const std::vector<OperatorRow>& rows);
QStringList remarks_box();

enum class Header {
  Separate,  // company line, then the goods title
  Joined,    // both on one line (one report per file in one output)
};

// The whole report, line by line.
QStringList report_lines(const QString& company, const QString& stem, const ReportTables& tables, const QDate& date,
                         Header header = Header::Separate);

// A printed page holds this many report lines (see print_document).
inline constexpr int kReportPageLines = 70;

// Empty lines that fill a report of one file, lines long, to whole pages, so that the
// next file's report starts on a page of its own.
int page_fill_lines(qsizetype lines);

}  // namespace tavuro::reports
