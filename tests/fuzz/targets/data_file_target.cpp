#include "fuzz_support.h"
#include "fuzz_targets.h"

#include "cashier/day_records.h"
#include "platform/file_ops.h"
#include "query/query_engine.h"
#include "reports/report_sums.h"
#include "sales/labels.h"
#include "store/data_file.h"
#include "textlayout/text_layout.h"

#include <QFile>

namespace tavuro::fuzz {

namespace {

const QString kAll = sales::kAllEntry;

}  // namespace

int data_file(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = scratch_dir() + QStringLiteral("/7.day");
  QFile::remove(path + QStringLiteral("-journal"));
  require(platform::write_file_atomic(path, bytes), "scratch file written", path);
  SilentDialogs dialogs;
  platform::ScopedDialogs scope(dialogs);

  // Whatever the bytes, every reader ends with a result or a StoreError (anything else
  // would escape and stop the run); a file whose records all read, reads in every view.
  int records = -1;
  bool amounts_are_numbers = true;
  try {
    const store::DataFile file = store::DataFile::open(path, store::day_schema());
    const std::vector<store::Record> all = file.records();
    records = static_cast<int>(all.size());
    require(file.record_count() == records, "the count is the number of records read", path);
    for (const store::Record& record : all) {
      amounts_are_numbers = amounts_are_numbers && sales::Money::parse(record.value(store::day::kAmount)).has_value();
    }
  } catch (const store::StoreError&) {
  }
  bool listed = false;
  try {
    const cashier::DayView view = cashier::all_day_lines(path);
    listed = true;
    require(records < 0 || view.count == records, "today's list shows every record", path);
    require(view.lines.size() == view.count, "one line per record taken", path);
    require(view.has_records == (view.count > 0), "the list is empty only without records", path);
  } catch (const store::StoreError&) {
  }
  require(records < 0 || listed, "a day file whose records read shows in today's list", path);
  const query::QueryResult all = query::query_files(
      {path}, {{store::day::kGoods, kAll}, {store::day::kOperator, kAll}, {store::day::kCustomer, kAll}});
  require(all.skipped_files.isEmpty() || all.skipped_files == QStringList{QStringLiteral("7.day")},
          "a file is read or named as skipped", path);
  if (records >= 0) {
    require(all.skipped_files.isEmpty() == amounts_are_numbers, "a readable day file is skipped only for its amounts",
            path);
    if (amounts_are_numbers) require(all.count() == records, "the query without filters lists every record", path);
  }
  query::query_receipt_lines({path}, QStringLiteral("000001"));
  const reports::FileSums sums = reports::sum_day_file(path, {QStringLiteral("可乐")}, {QStringLiteral("001")});
  if (sums.status == reports::FileSums::Status::Ok) {
    require(sums.sums.amount.size() == 1 && sums.sums.operator_amount.size() == 1, "one sum per row", path);
  }
  return 0;
}

}  // namespace tavuro::fuzz
