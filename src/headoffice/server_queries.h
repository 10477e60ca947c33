#pragma once
// What the query and report windows ask of the head-office server: the sale lines of a
// month folder's day files over every till (or one) that match filters, and the goods and
// operator sums of the reports, each built by one SQL statement on the server.

#include "headoffice/pg_connection.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tavuro::headoffice {

// The lines asked about: the month folder's name (2026_12), its day files' names, and the
// till, or every till when empty.
struct ServerScope {
  QString month;
  QStringList files;
  QString till;
};

// A filter on a day-file field (商品, 操作编号, 固定客户, 单号): the value it must hold
// exactly.
struct ServerFilter {
  QString field;
  QString value;
};

struct ServerLine {
  QString till;
  QString file;
  qint64 record = 0;
  QStringList values;  // every day-file field, in the day schema's order
  bool amount_is_number = true;
};

// The names of the tills the server knows, in name order.
QStringList server_tills(PgConnection& server);
// The names of the day files the server holds for month (over scope.till or all), in plain
// name order.
QStringList server_day_files(PgConnection& server, const QString& month, const QString& till);

// The lines of scope that match every filter, till by till, each till's files in the
// order of scope.files and each file's lines in the order they were recorded; at most limit.
std::vector<ServerLine> server_sale_lines(PgConnection& server, const ServerScope& scope,
                                          const std::vector<ServerFilter>& filters, int limit);

// One sum of a report: in file, the lines whose trimmed goods (or operator) is name.
struct ServerSum {
  enum class Kind {
    Goods,
    Operator,
    File,  // no sum: the file has lines that count
  };
  QString file;
  Kind kind = Kind::Goods;
  QString name;
  qint64 quantity_fen = 0;
  qint64 amount_fen = 0;
};

// The sums of the reports over scope, per day file and name, for the goods and operators
// named. A till's day file holding a quantity or amount that is no number in a line that
// counts for a named goods or operator counts with none of its figures, as in the reports
// over local files.
std::vector<ServerSum> server_report_sums(PgConnection& server, const ServerScope& scope, const QStringList& goods,
                                          const QStringList& operators);

// The message when the server cannot be reached or fails: in clear words, with the reason.
QString server_failure_message(const ServerError& error);

}  // namespace tavuro::headoffice
