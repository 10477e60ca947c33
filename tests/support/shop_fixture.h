#pragma once
// A shop in a temporary application directory, on a fixed date and time (7 May 2003,
// 15:05:09 unless told otherwise), with helpers that write catalogue records and sale
// lines straight through the record store.

#include "platform/clock.h"
#include "startup/app_state.h"
#include "store/data_file.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTime>

namespace tavuro::testing {

struct SaleLine {
  QString goods;
  QString quantity = QStringLiteral("1.00");
  QString price = QStringLiteral("1.00");
  QString amount = QStringLiteral("1.00");
  QString op = QStringLiteral("001");
  QString time = QStringLiteral("15:05:09");
  QString customer = QStringLiteral("散客");
  QString receipt = QStringLiteral("000001");
};

class ShopFixture {
 public:
  explicit ShopFixture(const QDate& today = QDate(2003, 5, 7), const QTime& time = QTime(15, 5, 9));

  // Paths, month folder, setting files and the data files (no window).
  void start_up();

  const QString& dir() const { return state.paths.app_dir; }
  QString file(const QString& name) const;

  void add_goods(const QString& name, const QString& price);
  void add_operator(const QString& name);
  void add_customer(const QString& name);
  // Adds a sale line to today's day file, or to the day file at day_file.
  void add_sale(const SaleLine& line, const QString& day_file = {});
  // The records of a data file, all fields, in stored order.
  std::vector<store::Record> records(const QString& path) const;
  // The reference a list makes to the index-th record of a data file.
  store::RecordRef record_ref(const QString& path, int index) const;

  QTemporaryDir temp;
  platform::FixedClock clock;
  startup::AppState state;

 private:
  platform::ScopedClock clock_scope_;
};

// Writes raw bytes to a file, replacing it (to damage data files on purpose).
void write_bytes(const QString& path, const QByteArray& bytes);
QByteArray read_bytes(const QString& path);

}  // namespace tavuro::testing
