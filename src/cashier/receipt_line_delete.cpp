#include "cashier/receipt_line_delete.h"

#include "sales/journal_entry.h"
#include "store/data_file.h"

#include <QFileInfo>

namespace tavuro::cashier {

QString delete_line_question(const QString& line) {
  return QStringLiteral("是否删除下列记录：\r\r") + line + QStringLiteral("\r\r“是”= 删除，“否”= 不删除”");
}

bool delete_receipt_record(const QString& day_file, const QString& backup, const sales::ChangeContext& context,
                           const store::RecordRef& record) {
  if (!QFileInfo::exists(day_file)) return false;
  store::DataFile file = store::DataFile::open_for_change(day_file, store::day_schema(), backup);
  const bool deleted = sales::remove_journaled(file, context, sales::kDeletedKind, record);
  file.close();
  return deleted;
}

}  // namespace tavuro::cashier
