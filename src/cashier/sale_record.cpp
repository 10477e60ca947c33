#include "cashier/sale_record.h"

#include "sales/sale_line.h"
#include "store/backup.h"
#include "store/data_file.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::cashier {

namespace day = store::day;

bool save_line(const startup::Paths& paths, const SaleRecord& line) {
  QString customer = textlayout::trim_spaces(line.customer);
  if (customer.isEmpty()) customer = sales::kWalkInCustomer;
  const sales::SaleColumns& sale = line.columns;
  const store::FieldValues values{{day::kGoods, sale.goods},   {day::kQuantity, sale.quantity},
                                  {day::kPrice, sale.price},   {day::kAmount, sale.amount},
                                  {day::kOperator, sale.op},   {day::kTime, sale.time},
                                  {day::kCustomer, customer},  {day::kReceiptNo, line.receipt}};
  if (!QFileInfo(paths.dayFile).isFile()) {
    // The day file has gone since start-up: the line has nowhere to go.
    store::report_store_failure(QStringLiteral("save_line"));
    return false;
  }
  int attempts = 0;
  const bool written = store::work_on_file(QStringLiteral("save_line"), paths.dayFile, paths.dayBackup, [&] {
    ++attempts;
    store::DataFile file = store::DataFile::openForChange(paths.dayFile, store::day_schema(), paths.dayBackup);
    file.append(values);
    file.close();
  });
  if (!written) return false;
  // A line written on the second attempt went into the restored backup: no new copy.
  if (attempts == 1) store::backup_file(paths.dayFile, paths.dayBackup, store::SourceCheck::AlreadySound);
  return true;
}

}  // namespace tavuro::cashier
