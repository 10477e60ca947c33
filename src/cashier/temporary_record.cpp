#include "cashier/temporary_record.h"

#include "cashier/list_lines.h"
#include "textlayout/text_layout.h"

namespace tavuro::cashier {

bool TemporaryRecord::record(const sales::SaleColumns& columns, const std::function<bool()>& commit) {
  const int number = next_number();
  ReceiptLine line{columns, receipt_line(number, columns), number};
  if (!commit()) return false;
  lines_.append(std::move(line));
  count_ = static_cast<qint16>(number);
  // An amount that is no number adds nothing.
  total_ += textlayout::to_single(columns.amount).value_or(0.0f);
  return true;
}

int TemporaryRecord::remove(const QString& text) {
  return static_cast<int>(lines_.removeIf([&text](const ReceiptLine& line) { return line.text == text; }));
}

void TemporaryRecord::clear() {
  lines_.clear();
  count_ = 0;
  total_ = 0.0f;
}

QStringList TemporaryRecord::texts() const {
  QStringList texts;
  texts.reserve(lines_.size());
  for (const ReceiptLine& line : lines_) texts << line.text;
  return texts;
}

}  // namespace tavuro::cashier
