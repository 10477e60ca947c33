#include "till_folder.h"

#include "headoffice/till_files.h"
#include "platform/text_file.h"
#include "sales/journal_entry.h"
#include "sales/journaled_change.h"
#include "store/schemas.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace tavuro::headoffice::test {

namespace {

sales::ChangeContext context_for(const QString& journal) {
  return {journal, QStringLiteral("001"), QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0))};
}

store::DataFile open_day(const QString& path) {
  if (!QFileInfo::exists(path)) store::DataFile::create(path, store::day_schema());
  return store::DataFile::open(path, store::day_schema());
}

}  // namespace

QString TillFolder::month_folder() const { return QDir(dir_).filePath(kMonth); }
QString TillFolder::day_file(int day) const { return QDir(month_folder()).filePath(QStringLiteral("%1.day").arg(day)); }
QString TillFolder::journal() const { return sales::journal_path(month_folder()); }

void TillFolder::write_identity(const QString& till, const QString& server_settings) const {
  QDir().mkpath(month_folder());
  platform::write_one_line_file(QDir(dir_).filePath(kTillFile), till);
  platform::write_one_line_file(QDir(dir_).filePath(kServerFile), server_settings);
}

store::RecordRef TillFolder::record(int day, const QString& goods, const QString& amount, const QString& op) const {
  QDir().mkpath(month_folder());
  store::DataFile file = open_day(day_file(day));
  return sales::append_journaled(file, context_for(journal()), sales::kRecordedKind,
                                 {{store::day::kGoods, goods},
                                  {store::day::kQuantity, QStringLiteral("1.00")},
                                  {store::day::kPrice, amount},
                                  {store::day::kAmount, amount},
                                  {store::day::kOperator, op},
                                  {store::day::kTime, QStringLiteral("10:00:00")},
                                  {store::day::kCustomer, QStringLiteral("散客")},
                                  {store::day::kReceiptNo, QStringLiteral("000001")}});
}

std::optional<store::RecordRef> TillFolder::correct_amount(const store::RecordRef& ref, const QString& amount) const {
  store::DataFile file = open_day(ref.path);
  return sales::update_journaled(file, context_for(journal()), sales::kEditedKind, ref,
                                 {{store::day::kAmount, amount}, {store::day::kPrice, amount}});
}

bool TillFolder::remove(const store::RecordRef& ref) const {
  store::DataFile file = open_day(ref.path);
  return sales::remove_journaled(file, context_for(journal()), sales::kDeletedKind, ref);
}

std::map<std::pair<QString, qint64>, QStringList> TillFolder::records() const {
  std::map<std::pair<QString, qint64>, QStringList> found;
  for (const QString& name : sales::day_files_of(month_folder())) {
    const store::DataFile file = store::DataFile::open(QDir(month_folder()).filePath(name), store::day_schema());
    for (const store::Record& record : file.records()) found[{name, record.id()}] = record.values();
  }
  return found;
}

sales::Money TillFolder::total() const {
  sales::Money sum;
  for (const auto& [key, values] : records()) sum = sum.added(sales::amount_or_zero(values[3]));
  return sum;
}

}  // namespace tavuro::headoffice::test
