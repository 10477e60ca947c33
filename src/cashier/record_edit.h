#pragma once
// One record of a day file, held open while the administrator corrects or deletes it.
// Every change goes into the journal of changes with its entry.

#include "sales/journaled_change.h"
#include "store/data_file.h"

#include <optional>

namespace tavuro::cashier {

// The fields of a day record as the edit window shows them.
struct EditedRecord {
  QString receipt_no;  // 单号
  QString customer;   // 固定客户
  QString goods;      // 商品
  QString quantity;   // 数量
  QString price;      // 单价
  QString amount;     // 金额
  QString time;       // 时间 (never written back)
};

enum class RecordLookup {
  NoFile,     // the day file is not there
  NoRecords,  // the file holds no record
  Gone,       // the record is no longer there, or no longer holds what was shown
  Found,
};

// The day file, open from the lookup until close(), and the record found in it.
class RecordEditor {
 public:
  // Opens the file of record for a change and rests on exactly that record, if it still
  // holds what was read. The file stays open whenever it could be opened. Throws
  // StoreError when it cannot be read (or is damaged: no change goes into such a file).
  RecordLookup open(const store::RecordRef& record, const QString& backup);

  bool has_record() const { return ref_.has_value(); }
  // The record found (empty fields when there is none).
  const EditedRecord& record() const { return record_; }
  QString path() const { return file_ ? file_->path() : QString(); }

  // Writes every field but the time into the record, with its journal entry; false
  // (nothing written) when the record has changed since it was read. Throws StoreError.
  bool save(const EditedRecord& values, const sales::ChangeContext& context);
  // Deletes the record with its journal entry; afterwards there is none. false (nothing
  // done) when it has changed since it was read. Throws StoreError.
  bool remove(const sales::ChangeContext& context);

  bool is_open() const { return file_.has_value(); }
  void close();

 private:
  std::optional<store::DataFile> file_;
  std::optional<store::RecordRef> ref_;
  EditedRecord record_;
};

}  // namespace tavuro::cashier
