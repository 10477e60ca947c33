#pragma once
// A till's application directory for the head-office tests: its till.dat and server.dat,
// and sale lines recorded, corrected and deleted through the journaled change path as
// the counter does, in the month folder 2026_12.

#include "sales/money.h"
#include "store/data_file.h"

#include <QString>
#include <map>
#include <utility>

namespace tavuro::headoffice::test {

inline const QString kMonth = QStringLiteral("2026_12");

class TillFolder {
 public:
  explicit TillFolder(QString dir) : dir_(std::move(dir)) {}

  const QString& dir() const { return dir_; }
  QString month_folder() const;
  QString day_file(int day) const;
  QString journal() const;

  void write_identity(const QString& till, const QString& server_settings) const;

  store::RecordRef record(int day, const QString& goods, const QString& amount, const QString& op = QStringLiteral("001")) const;
  std::optional<store::RecordRef> correct_amount(const store::RecordRef& ref, const QString& amount) const;
  bool remove(const store::RecordRef& ref) const;

  // Every record of the month's day files: (file, id) → its fields in the day schema's order.
  std::map<std::pair<QString, qint64>, QStringList> records() const;
  // The exact sum of the amounts of every record.
  sales::Money total() const;

 private:
  QString dir_;
};

}  // namespace tavuro::headoffice::test
