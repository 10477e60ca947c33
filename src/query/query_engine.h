#pragma once
// Queries over past day files: every sale line whose goods, operator and customer match
// three filters, or every line of one receipt number, over a list of day files taken one
// after the other. A file that cannot be read is given up from the point where reading
// failed, and the run goes on with the next one.

#include "sales/money.h"
#include "store/data_file.h"
#include "store/record_ref.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tavuro::query {

// One filter: a day-file field and the value it must hold exactly, or the all-entry
// "* 全部 *", which takes every record without reading the field.
struct QueryFilter {
  QString field;
  QString value;
};

// The result list holds at most as many lines as a 16-bit counter can number.
inline constexpr int kMaxResultLines = 32767;

struct QueryResult {
  QStringList lines;                      // display lines numbered 1, 2, 3 … over all files
  std::vector<store::RecordRef> records;  // the record behind each line, in its file
  sales::Money total{};                   // the exact sum of the amounts
  QStringList skipped_files;  // names of the files that could not be read to their end
  bool truncated = false;    // more lines matched than the list may hold
  int count() const { return static_cast<int>(lines.size()); }
};

// Called before each file is read: index of the file (0-based) and the number of files.
using FileProgress = std::function<void(int index, int count)>;

// What a query asks: the day files in order, and the texts their fields must hold exactly
// (a filter at "* 全部 *" puts none).
struct QueryRequest {
  QStringList files;
  store::FieldValues wanted;
};
QueryRequest filter_request(const QStringList& files, const QList<QueryFilter>& filters);
QueryRequest receipt_request(const QStringList& files, const QString& receipt_no);

// Takes one matching record of file with its amount; false stops the whole walk.
using MatchVisitor = std::function<bool(const store::DataFile& file, const store::Record& record, sales::Money amount)>;

// Walks every matching record of the files in order, as the result list takes them: a
// file that cannot be read, lacks a shown field, or holds an amount that is no number is
// given up from there (that record is not taken) and named in the result. Returns the
// names of the files given up.
QStringList walk_matches(const QueryRequest& request, const FileProgress& progress, const MatchVisitor& take);

// Lines of every record that matches all filters, over files in the order given.
QueryResult query_files(const QStringList& files, const QList<QueryFilter>& filters, const FileProgress& progress = {},
                        int line_limit = kMaxResultLines);

// Lines of every record whose 单号 equals receipt_no exactly, over files in order.
QueryResult query_receipt_lines(const QStringList& files, const QString& receipt_no, const FileProgress& progress = {},
                                int line_limit = kMaxResultLines);

// The files named by the lines of a file list inside folder, in list order.
QStringList files_in_folder(const QString& folder, const QStringList& names);

// The day files (*.day, any letter case) of a folder in plain name order, so that 10.day
// comes before 2.day. Empty when the folder cannot be read.
QStringList day_file_names(const QString& folder);

// 商品=…，操作编号=…，固定客户=… : what the report names the query by.
QString query_description(const QList<QueryFilter>& filters);
// 单号=… : the same for a receipt-number query.
QString receipt_description(const QString& receipt_no);
// 查询：商品 = …，操作编号 = …，固定客户 = … : the window caption after the query.
QString query_caption(const QList<QueryFilter>& filters);
QString receipt_caption(const QString& receipt_no);

// The message that names the files a run could not read, or empty when there were none.
QString skipped_files_message(const QStringList& names);
// The message for a result cut at the list's limit.
QString truncated_message();

}  // namespace tavuro::query
