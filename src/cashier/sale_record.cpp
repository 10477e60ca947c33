#include "cashier/sale_record.h"

#include "sales/journal_entry.h"
#include "sales/journaled_change.h"
#include "sales/sale_line.h"
#include "store/backup.h"
#include "store/data_file.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::cashier {

namespace day = store::day;

std::optional<store::RecordRef> save_line(const startup::Paths& paths, const SaleRecord& line) {
  QString customer = textlayout::trim_spaces(line.customer);
  if (customer.isEmpty()) customer = sales::kWalkInCustomer;
  const sales::SaleColumns& sale = line.columns;
  const store::FieldValues values{{day::kGoods, sale.goods},   {day::kQuantity, sale.quantity},
                                  {day::kPrice, sale.price},   {day::kAmount, sale.amount},
                                  {day::kOperator, sale.op},   {day::kTime, sale.time},
                                  {day::kCustomer, customer},  {day::kReceiptNo, line.receipt}};
  if (!QFileInfo(paths.day_file).isFile()) {
    // The day file has gone since start-up: the line has nowhere to go.
    store::report_store_failure(QStringLiteral("save_line"));
    return std::nullopt;
  }
  const sales::ChangeContext context = sales::change_context(paths.journal_file, sale.op);
  std::optional<store::RecordRef> written;
  int attempts = 0;
  // In this order: the line and its entry in one transaction, then the backup copy, which
  // thus never holds a line the journal does not know; the lists show it after that.
  const bool done = sales::journaled_work(QStringLiteral("save_line"), paths.day_file, paths.day_backup, [&] {
    ++attempts;
    store::DataFile file = store::DataFile::open_for_change(paths.day_file, store::day_schema(), paths.day_backup);
    written = sales::append_journaled(file, context, sales::kRecordedKind, values);
    file.close();
  });
  if (!done) return std::nullopt;
  // A line written on the second attempt went into the restored backup: no new copy.
  if (attempts == 1) store::backup_file(paths.day_file, paths.day_backup, store::SourceCheck::AlreadySound);
  return written;
}

}  // namespace tavuro::cashier
