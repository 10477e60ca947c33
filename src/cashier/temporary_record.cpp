#include "cashier/temporary_record.h"

#include "cashier/list_lines.h"

namespace tavuro::cashier {

bool TemporaryRecord::record(const sales::SaleColumns& columns,
                             const std::function<std::optional<store::RecordRef>()>& commit) {
  const int number = next_number();
  QString text = receipt_line(number, columns);
  const std::optional<store::RecordRef> written = commit();
  if (!written) return false;
  lines_.append({columns, std::move(text), number, *written});
  count_ = static_cast<qint16>(number);
  total_ = total_.added(sales::amount_or_zero(columns.amount));
  return true;
}

void TemporaryRecord::remove(int index) {
  if (index < 0 || index >= lines_.size()) return;
  const sales::Money amount = sales::amount_or_zero(lines_[index].columns.amount);
  total_ = total_.added(sales::Money::from_hundredths(-amount.hundredths()));
  lines_.removeAt(index);
}

void TemporaryRecord::clear() {
  lines_.clear();
  count_ = 0;
  total_ = {};
}

QStringList TemporaryRecord::texts() const {
  QStringList texts;
  texts.reserve(lines_.size());
  for (const ReceiptLine& line : lines_) texts << line.text;
  return texts;
}

}  // namespace tavuro::cashier
