#pragma once
// Ships a till's journals to the head-office server: every entry the server does not hold
// yet, in number order, in batches, each batch one transaction that also brings the sale
// lines to what the entries leave them. The server's last entry of a month is where the
// next batch starts, so a shipping cut off at any moment goes on where it stopped, without
// a gap and without a duplicate. The till's files are only read.

#include "headoffice/pg_connection.h"
#include "store/journal_table.h"

#include <QHash>
#include <QString>
#include <functional>

namespace tavuro::headoffice {

inline constexpr int kDefaultBatchEntries = 2000;

// Told after each batch the server has committed: the month folder's name and the number
// of the last entry it now holds.
using BatchShipped = std::function<void(const QString& month, qint64 last_number)>;

class Shipper {
 public:
  // server must hold the schema (ensure_schema).
  Shipper(PgConnection& server, QString till, int batch_entries = kDefaultBatchEntries);

  // Ships what every month folder of app_dir holds beyond the server, oldest month first.
  // Returns the number of entries shipped. A month whose journal.db has not changed since
  // it was last shipped to its end is not read again. Throws ServerError (Refused when the
  // till's shipping is stopped, with the reason) and StoreError of a journal that cannot
  // be read now (the till holds it, or it is damaged).
  qint64 ship_all(const QString& app_dir, const BatchShipped& shipped = {});

  // Month folders that hold day files but no journal.db (kept before the
  // journal was): nothing of them can be shipped, since nothing vouches for their lines.
  // Found by ship_all.
  const QStringList& months_without_journal() const { return months_without_journal_; }

  // The same for one month folder.
  qint64 ship_month(const QString& month_folder, const BatchShipped& shipped = {});

 private:
  struct Head {
    qint64 number = 0;
    QString hash;
  };
  Head server_head(const QString& month);
  // Ships entries (which follow head) in one transaction; false when the server's head had
  // moved meanwhile (another shipper of the same till), nothing done then.
  bool ship_batch(const QString& month, const Head& head, const std::vector<store::JournalEntry>& entries);
  [[noreturn]] void stop_till(const QString& reason);
  void check_not_stopped();

  PgConnection& server_;
  QString till_;
  int batch_entries_;
  QHash<QString, Head> heads_;          // month → the last entry the server holds
  QHash<QString, QString> shipped_mark_;  // month → journal.db's size and time when shipped to its end
  QStringList months_without_journal_;
};

}  // namespace tavuro::headoffice
