#pragma once
// The figures of a sales report: per catalogue goods the quantity and amount sold, per
// registered operator the amount sold, summed from the lines of day files. Names are
// compared after trimming spaces; an empty quantity or amount counts 0; every sum is exact
// (a quantity or amount counts with its two-decimal value).

#include "sales/money.h"
#include "store/schemas.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tavuro::reports {

// The fields of one sale line that a report reads.
struct DayLine {
  QString goods;
  QString quantity;
  QString amount;
  QString op;
};

// The sums of one day file, one entry per goods row and per operator row. A quantity or
// amount that is not a number (in a line that counts for some row) marks its table failed.
struct DaySums {
  std::vector<sales::Money> quantity;
  std::vector<sales::Money> amount;
  std::vector<sales::Money> operator_amount;
  bool goods_failed = false;
  bool operators_failed = false;
};

// Every line of a day file in stored order. Throws StoreError when the file cannot be
// read or lacks a day-file field.
std::vector<DayLine> read_day_lines(const QString& path);

// One pass over the lines: a table from trimmed name to the rows that carry it (a name
// registered twice feeds both rows). Gives exactly the sums of sum_per_row.
DaySums sum_one_pass(const QStringList& goods, const QStringList& operators, const std::vector<DayLine>& lines);

// The plain way: for each row, a scan of every line from the first. Its work grows with
// rows × lines; kept as the reference the one-pass sums are measured against.
DaySums sum_per_row(const QStringList& goods, const QStringList& operators, const std::vector<DayLine>& lines);

// The sums of one day file.
struct FileSums {
  enum class Status {
    Ok,
    MissingOrEmpty,  // no such file, or no records in it
    Unreadable,      // damaged, or not a day file
  };
  Status status = Status::Ok;
  DaySums sums;
};
FileSums sum_day_file(const QString& path, const QStringList& goods, const QStringList& operators);

// The trimmed names of a catalogue field, in record order. Throws StoreError, also when
// the file is a data file of another kind than schema.
QStringList read_names(const QString& path, const store::Schema& schema, const QString& field);

}  // namespace tavuro::reports
