#pragma once
// One record of a day file, held open while the administrator corrects or deletes it.

#include "store/data_file.h"

#include <optional>

namespace tavuro::cashier {

// The fields of a day record as the edit window shows them.
struct EditedRecord {
  QString receiptNo;  // 单号
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
  NotFound,   // no record matches
  Found,
};

// The day file, open from the lookup until close(), and the record found in it.
class RecordEditor {
 public:
  // Opens the file and rests on the first record, in stored order, whose fieldA equals
  // valueA and whose fieldB equals valueB (exact text, stored values untrimmed). The
  // file stays open whenever it could be opened. Throws StoreError when it cannot be read.
  RecordLookup open(const QString& path, const QString& fieldA, const QString& valueA, const QString& fieldB,
                    const QString& valueB);

  bool hasRecord() const { return id_.has_value(); }
  // The record found (empty fields when there is none).
  const EditedRecord& record() const { return record_; }

  // Writes every field but the time into the record found. Throws StoreError.
  void save(const EditedRecord& values);
  // Deletes the record found; afterwards there is none. Throws StoreError.
  void remove();

  bool isOpen() const { return file_.has_value(); }
  void close();

 private:
  std::optional<store::DataFile> file_;
  std::optional<qint64> id_;
  EditedRecord record_;
};

}  // namespace tavuro::cashier
