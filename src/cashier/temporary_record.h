#pragma once
// The temporary record: the lines of the receipt being entered, the count that numbers
// them and the receipt's total. Each line knows the day-file record it wrote. The list on
// screen and the printed receipt are made from it; nothing is read back from the list.

#include "sales/display_line.h"
#include "sales/money.h"
#include "store/record_ref.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tavuro::cashier {

struct ReceiptLine {
  sales::SaleColumns columns;
  QString text;             // as the temporary record shows it, numbered 0001, 0002 …
  int number = 0;           // the number it shows
  store::RecordRef record;  // the day-file record the line wrote
};

class TemporaryRecord {
 public:
  // The number the next recorded line carries.
  int next_number() const { return count_ + 1; }

  // Records a line as the receipt's next one when commit, which puts it everywhere else
  // (the day file, today's list) and gives the record written, succeeds; when commit fails
  // nothing changes here. The caller has checked the number with sequence_fault.
  bool record(const sales::SaleColumns& columns, const std::function<std::optional<store::RecordRef>()>& commit);

  // Takes the line at index out of the receipt, and its amount out of the total; the
  // numbering goes on.
  void remove(int index);

  void clear();

  const QList<ReceiptLine>& lines() const { return lines_; }
  QStringList texts() const;
  // Lines recorded since the receipt was cleared.
  qint16 count() const { return count_; }
  // The exact sum of the amounts of the receipt's lines.
  sales::Money total() const { return total_; }

 private:
  QList<ReceiptLine> lines_;
  qint16 count_ = 0;
  sales::Money total_;
};

}  // namespace tavuro::cashier
