#include "reports/report_sums.h"

#include "store/data_file.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>
#include <QHash>

#include <optional>

namespace tavuro::reports {

namespace {

using textlayout::trim_spaces;

// A quantity or amount: 0 when blank, nullopt when it is no number.
std::optional<sales::Money> number_of(const QString& text) {
  if (trim_spaces(text).isEmpty()) return sales::Money();
  return sales::Money::parse(text);
}

DaySums empty_sums(const QStringList& goods, const QStringList& operators) {
  DaySums sums;
  sums.quantity.assign(static_cast<size_t>(goods.size()), sales::Money());
  sums.amount.assign(static_cast<size_t>(goods.size()), sales::Money());
  sums.operator_amount.assign(static_cast<size_t>(operators.size()), sales::Money());
  return sums;
}

QHash<QString, std::vector<size_t>> rows_by_name(const QStringList& names) {
  QHash<QString, std::vector<size_t>> rows;
  for (qsizetype i = 0; i < names.size(); ++i) rows[names[i]].push_back(static_cast<size_t>(i));
  return rows;
}

std::vector<DayLine> lines_of(const store::DataFile& file) {
  std::vector<DayLine> lines;
  lines.reserve(static_cast<size_t>(file.record_count()));
  file.walk({store::day::kGoods, store::day::kQuantity, store::day::kAmount, store::day::kOperator},
            [&lines](const store::Record& record) {
              const QStringList& v = record.values();
              lines.push_back({v[0], v[1], v[2], v[3]});
              return true;
            });
  return lines;
}

}  // namespace

std::vector<DayLine> read_day_lines(const QString& path) {
  return lines_of(store::DataFile::open(path));
}

DaySums sum_one_pass(const QStringList& goods, const QStringList& operators, const std::vector<DayLine>& lines) {
  DaySums sums = empty_sums(goods, operators);
  const QHash<QString, std::vector<size_t>> goods_rows = rows_by_name(goods);
  const QHash<QString, std::vector<size_t>> operator_rows = rows_by_name(operators);
  for (const DayLine& line : lines) {
    if (!sums.goods_failed) {
      const auto it = goods_rows.find(trim_spaces(line.goods));
      if (it != goods_rows.end()) {
        const std::optional<sales::Money> quantity = number_of(line.quantity);
        const std::optional<sales::Money> amount = number_of(line.amount);
        if (!quantity || !amount) {
          sums.goods_failed = true;
        } else {
          for (const size_t row : *it) {
            sums.quantity[row] = sums.quantity[row].added(*quantity);
            sums.amount[row] = sums.amount[row].added(*amount);
          }
        }
      }
    }
    if (!sums.operators_failed) {
      const auto it = operator_rows.find(trim_spaces(line.op));
      if (it != operator_rows.end()) {
        const std::optional<sales::Money> amount = number_of(line.amount);
        if (!amount) {
          sums.operators_failed = true;
        } else {
          for (const size_t row : *it) sums.operator_amount[row] = sums.operator_amount[row].added(*amount);
        }
      }
    }
  }
  return sums;
}

DaySums sum_per_row(const QStringList& goods, const QStringList& operators, const std::vector<DayLine>& lines) {
  DaySums sums = empty_sums(goods, operators);
  for (size_t row = 0; row < sums.quantity.size() && !sums.goods_failed; ++row) {
    for (const DayLine& line : lines) {
      if (trim_spaces(line.goods) != goods[static_cast<qsizetype>(row)]) continue;
      const std::optional<sales::Money> quantity = number_of(line.quantity);
      const std::optional<sales::Money> amount = number_of(line.amount);
      if (!quantity || !amount) {
        sums.goods_failed = true;
        break;
      }
      sums.quantity[row] = sums.quantity[row].added(*quantity);
      sums.amount[row] = sums.amount[row].added(*amount);
    }
  }
  for (size_t row = 0; row < sums.operator_amount.size() && !sums.operators_failed; ++row) {
    for (const DayLine& line : lines) {
      if (trim_spaces(line.op) != operators[static_cast<qsizetype>(row)]) continue;
      const std::optional<sales::Money> amount = number_of(line.amount);
      if (!amount) {
        sums.operators_failed = true;
        break;
      }
      sums.operator_amount[row] = sums.operator_amount[row].added(*amount);
    }
  }
  return sums;
}

FileSums sum_day_file(const QString& path, const QStringList& goods, const QStringList& operators) {
  FileSums result;
  if (!QFileInfo(path).isFile()) {
    result.status = FileSums::Status::MissingOrEmpty;
    return result;
  }
  const bool read = store::guarded_quietly([&] {
    const store::DataFile file = store::DataFile::open(path);
    if (file.record_count() == 0) {
      result.status = FileSums::Status::MissingOrEmpty;
      return;
    }
    result.sums = sum_one_pass(goods, operators, lines_of(file));
  });
  if (!read) result.status = FileSums::Status::Unreadable;
  return result;
}

QStringList read_names(const QString& path, const store::Schema& schema, const QString& field) {
  QStringList names = store::DataFile::open(path, schema).column(field);
  for (QString& name : names) name = trim_spaces(name);
  return names;
}

}  // namespace tavuro::reports
