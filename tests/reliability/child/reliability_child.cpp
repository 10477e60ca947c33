// The child process of the reliability tests. In the crash modes it repeats one change of
// the shop's files in a loop and, after each call has returned, prints what it did on
// stdout ("ack ..."); the parent kills it at a random moment and checks the files. In
// the readers mode it runs every reader and writer once over an application directory
// (as an unprivileged user, for the permission cases) and prints each one's messages.
//
//   sale <day file> <day backup> <first receipt counter>
//   journal <day file> <day backup> <first receipt counter>  (records, and deletes every third)
//   backup <source> <target> [fresh]     (fresh: the target is removed before each copy)
//   goods <shop.dat> <shop.bak> <first number>
//   receipt <nober.dat>
//   readers <application directory>
//
// In the crash modes every message box is printed as "message <icon> <text>" and
// questions are answered Yes; the readers mode prints "problem <what>" lines and "done".

#include "procedures/damage_run.h"

#include "cashier/receipt_line_delete.h"
#include "cashier/receipt_number.h"
#include "cashier/sale_record.h"
#include "catalogues/goods_catalogue.h"
#include "platform/dialogs.h"
#include "sales/journaled_change.h"
#include "startup/settings.h"
#include "store/backup.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <sys/prctl.h>
#include <cstdio>

using namespace tavuro;

namespace {

void print_line(const QString& line) {
  std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
  std::fflush(stdout);
}

class PrintingDialogs final : public platform::Dialogs {
 public:
  platform::Answer message(const QString& text, platform::Icon icon, platform::Buttons buttons,
                           const QString&) override {
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    print_line(QStringLiteral("message %1 %2").arg(static_cast<int>(icon)).arg(flat));
    return buttons == platform::Buttons::Ok ? platform::Answer::Ok : platform::Answer::Yes;
  }
  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> open_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QString> save_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QColor> color(const QColor&) override { return std::nullopt; }
  bool print(platform::PrintRequest&) override { return false; }
};

QString arg(char** argv, int i) {
  return QString::fromLocal8Bit(argv[i]);
}

startup::Paths day_paths(const QString& day_file, const QString& day_backup) {
  startup::Paths paths;
  paths.day_file = day_file;
  paths.day_backup = day_backup;
  paths.journal_file = sales::journal_path(QFileInfo(day_file).absolutePath());
  return paths;
}

cashier::SaleRecord sale_line(const QString& receipt, const QString& time) {
  return {{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"), QStringLiteral("5.00"),
           QStringLiteral("001"), time},
          QString(),
          receipt};
}

[[noreturn]] void record_sales(const QString& day_file, const QString& day_backup, qint32 counter) {
  const startup::Paths paths = day_paths(day_file, day_backup);
  for (;; ++counter) {
    const QString receipt = startup::receipt_number_text(counter);
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (cashier::save_line(paths, sale_line(receipt, time))) print_line(QStringLiteral("ack %1 %2").arg(receipt, time));
  }
}

// Step i records receipt <counter + i>; every third step (i % 3 == 2) deletes the line
// recorded two steps before instead, as 删除 on the temporary record does.
[[noreturn]] void record_and_delete(const QString& day_file, const QString& day_backup, qint32 counter) {
  const startup::Paths paths = day_paths(day_file, day_backup);
  QList<store::RecordRef> written;
  for (int i = 0;; ++i) {
    if (i % 3 == 2) {
      if (written.size() < 2) continue;
      const store::RecordRef record = written[written.size() - 2];
      const sales::ChangeContext context = sales::change_context(paths.journal_file, QStringLiteral("001"));
      bool deleted = false;
      const bool done = sales::journaled_work(QStringLiteral("删除"), day_file, day_backup, [&] {
        deleted = cashier::delete_receipt_record(day_file, day_backup, context, record);
      });
      if (done && deleted) {
        store::backup_file(day_file, day_backup, store::SourceCheck::AlreadySound);
        print_line(QStringLiteral("ack del %1").arg(record.values.last()));
      }
      continue;
    }
    const QString receipt = startup::receipt_number_text(counter + i);
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (const auto record = cashier::save_line(paths, sale_line(receipt, time))) {
      written << *record;
      print_line(QStringLiteral("ack add %1").arg(receipt));
    }
  }
}

[[noreturn]] void copy_backups(const QString& source, const QString& target, bool fresh) {
  for (int n = 1;; ++n) {
    if (fresh) QFile::remove(target);
    if (store::backup_file(source, target)) print_line(QStringLiteral("ack %1").arg(n));
  }
}

// Step i registers the goods 货<first + i>; every third step (i % 3 == 2) deletes the
// goods registered two steps before instead.
[[noreturn]] void change_goods(const QString& shop_file, const QString& shop_backup, int first) {
  startup::AppState state;
  state.paths.shop_file = shop_file;
  state.paths.shop_backup = shop_backup;
  state.paths.journal_file = sales::journal_path(QFileInfo(shop_file).absolutePath());
  for (int i = 0;; ++i) {
    if (i % 3 == 2) {
      const QString name = QStringLiteral("货%1").arg(first + i - 2);
      // The line of that name, as the goods window lists it.
      const std::optional<catalogues::GoodsList> list = catalogues::read_shop_list(state);
      const qsizetype row = list ? list->names.indexOf(name) : -1;
      if (row > 0 && catalogues::del_shop(state, name, list->records[static_cast<size_t>(row)])) {
        print_line(QStringLiteral("ack del ") + name);
      }
    } else {
      const QString name = QStringLiteral("货%1").arg(first + i);
      if (catalogues::add_shop(state, name, QStringLiteral("%1.50").arg(i)) == catalogues::AddShopResult::Registered) {
        print_line(QStringLiteral("ack add ") + name);
      }
    }
  }
}

[[noreturn]] void issue_receipts(const QString& nober_file) {
  startup::AppState state;
  state.paths.nober_file = nober_file;
  startup::load_receipt_counter(state);
  for (;;) {
    if (cashier::new_receipt_no(state)) print_line(QStringLiteral("ack %1").arg(state.receipt_counter));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const QString mode = QString::fromLatin1(argv[1]);
  if (mode == QStringLiteral("readers") && argc == 3) {
    // Having changed its user, the process may still be inspected by the leak checker.
    ::prctl(PR_SET_DUMPABLE, 1);
    QApplication app(argc, argv);
    for (const QString& problem : reliability::run_permission_damage(arg(argv, 2))) {
      print_line(QStringLiteral("problem ") + problem);
    }
    print_line(QStringLiteral("done"));
    return 0;
  }
  PrintingDialogs dialogs;
  platform::ScopedDialogs scope(dialogs);
  QCoreApplication app(argc, argv);
  if (mode == QStringLiteral("sale") && argc == 5) record_sales(arg(argv, 2), arg(argv, 3), arg(argv, 4).toInt());
  if (mode == QStringLiteral("journal") && argc == 5) {
    record_and_delete(arg(argv, 2), arg(argv, 3), arg(argv, 4).toInt());
  }
  if (mode == QStringLiteral("backup") && (argc == 4 || argc == 5)) {
    copy_backups(arg(argv, 2), arg(argv, 3), argc == 5 && arg(argv, 4) == QStringLiteral("fresh"));
  }
  if (mode == QStringLiteral("goods") && argc == 5) change_goods(arg(argv, 2), arg(argv, 3), arg(argv, 4).toInt());
  if (mode == QStringLiteral("receipt") && argc == 3) issue_receipts(arg(argv, 2));
  return 2;
}
