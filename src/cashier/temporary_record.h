#pragma once
// The temporary record: the lines of the receipt being entered, the count that numbers
// them and the receipt's total. The list on screen and the printed receipt are made from
// it; nothing is read back from the list.

#include "sales/display_line.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace tavuro::cashier {

struct ReceiptLine {
  sales::SaleColumns columns;
  QString text;    // as the temporary record shows it, numbered 0001, 0002 …
  int number = 0;  // the number it shows
};

class TemporaryRecord {
 public:
  // The number the next recorded line carries.
  int next_number() const { return count_ + 1; }

  // Records a line as the receipt's next one when commit, which puts it everywhere else
  // (the day file, today's list), succeeds; when commit fails nothing changes here. The
  // caller has checked the number with sequence_fault.
  bool record(const sales::SaleColumns& columns, const std::function<bool()>& commit);

  // Removes every line whose text is text; returns how many went. Count and total stay:
  // the total loses what the day file gave back (take_off), the numbering goes on.
  int remove(const QString& text);
  void take_off(float amount) { total_ -= amount; }

  void clear();

  const QList<ReceiptLine>& lines() const { return lines_; }
  QStringList texts() const;
  // Lines recorded since the receipt was cleared.
  qint16 count() const { return count_; }
  // 32-bit float, as every running total of the cashier.
  float total() const { return total_; }

 private:
  QList<ReceiptLine> lines_;
  qint16 count_ = 0;
  float total_ = 0.0f;
};

}  // namespace tavuro::cashier
