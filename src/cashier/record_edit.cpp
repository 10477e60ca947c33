#include "cashier/record_edit.h"

#include "sales/journal_entry.h"

#include <QFileInfo>

namespace tavuro::cashier {

namespace day = store::day;

namespace {

EditedRecord edited_record(const QStringList& fields, const QStringList& values) {
  const auto value = [&](const QString& field) { return values.value(fields.indexOf(field)); };
  return {value(day::kReceiptNo), value(day::kCustomer), value(day::kGoods), value(day::kQuantity),
          value(day::kPrice),     value(day::kAmount),   value(day::kTime)};
}

}  // namespace

RecordLookup RecordEditor::open(const store::RecordRef& record, const QString& backup) {
  close();
  if (!QFileInfo::exists(record.path)) return RecordLookup::NoFile;
  file_.emplace(store::DataFile::open_for_change(record.path, store::day_schema(), backup));
  if (file_->record_count() == 0) return RecordLookup::NoRecords;
  if (!file_->holds(record)) return RecordLookup::Gone;
  ref_ = record;
  record_ = edited_record(file_->fields(), record.values);
  return RecordLookup::Found;
}

bool RecordEditor::save(const EditedRecord& values, const sales::ChangeContext& context) {
  if (!file_ || !ref_) throw store::StoreError(store::StoreError::Kind::Missing, QString(), QStringLiteral("no record"));
  const std::optional<store::RecordRef> saved = sales::update_journaled(*file_, context, sales::kEditedKind, *ref_,
                                                                        {{day::kReceiptNo, values.receipt_no},
                                                                         {day::kCustomer, values.customer},
                                                                         {day::kGoods, values.goods},
                                                                         {day::kQuantity, values.quantity},
                                                                         {day::kPrice, values.price},
                                                                         {day::kAmount, values.amount}});
  if (!saved) return false;
  ref_ = saved;
  record_ = edited_record(file_->fields(), saved->values);
  return true;
}

bool RecordEditor::remove(const sales::ChangeContext& context) {
  if (!file_ || !ref_) throw store::StoreError(store::StoreError::Kind::Missing, QString(), QStringLiteral("no record"));
  if (!sales::remove_journaled(*file_, context, sales::kDeletedKind, *ref_)) return false;
  ref_.reset();
  record_ = {};
  return true;
}

void RecordEditor::close() {
  if (file_) file_->close();
  file_.reset();
  ref_.reset();
  record_ = {};
}

}  // namespace tavuro::cashier
