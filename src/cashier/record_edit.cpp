#include "cashier/record_edit.h"

#include <QFileInfo>

namespace tavuro::cashier {

namespace day = store::day;

RecordLookup RecordEditor::open(const QString& path, const QString& fieldA, const QString& valueA,
                                const QString& fieldB, const QString& valueB) {
  close();
  if (!QFileInfo::exists(path)) return RecordLookup::NoFile;
  file_.emplace(store::DataFile::open(path, store::day_schema()));
  if (file_->recordCount() == 0) return RecordLookup::NoRecords;
  QStringList fields{fieldA, fieldB, day::kReceiptNo, day::kCustomer, day::kGoods,
                     day::kQuantity, day::kPrice, day::kAmount, day::kTime};
  fields.removeDuplicates();
  const auto found = file_->findFirst(fields, [&](const store::Record& record) {
    return record.value(fieldA) == valueA && record.value(fieldB) == valueB;
  });
  if (!found) return RecordLookup::NotFound;
  id_ = found->id();
  record_ = {found->value(day::kReceiptNo), found->value(day::kCustomer), found->value(day::kGoods),
             found->value(day::kQuantity),  found->value(day::kPrice),    found->value(day::kAmount),
             found->value(day::kTime)};
  return RecordLookup::Found;
}

void RecordEditor::save(const EditedRecord& values) {
  if (!file_ || !id_) throw store::StoreError(store::StoreError::Kind::Missing, QString(), QStringLiteral("no record"));
  file_->update(*id_, {{day::kReceiptNo, values.receiptNo},
                       {day::kCustomer, values.customer},
                       {day::kGoods, values.goods},
                       {day::kQuantity, values.quantity},
                       {day::kPrice, values.price},
                       {day::kAmount, values.amount}});
  EditedRecord saved = values;
  saved.time = record_.time;
  record_ = saved;
}

void RecordEditor::remove() {
  if (!file_ || !id_) throw store::StoreError(store::StoreError::Kind::Missing, QString(), QStringLiteral("no record"));
  file_->remove(*id_);
  id_.reset();
  record_ = {};
}

void RecordEditor::close() {
  if (file_) file_->close();
  file_.reset();
  id_.reset();
  record_ = {};
}

}  // namespace tavuro::cashier
