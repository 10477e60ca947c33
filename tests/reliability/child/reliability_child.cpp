// The child process of the reliability tests. In the crash modes it repeats one change of
// the shop's files in a loop and, after each call has returned, prints what it did on
// stdout ("ack ..."); the parent kills it at a random moment and checks the files. In
// the readers mode it runs every reader and writer once over an application directory
// (as an unprivileged user, for the permission cases) and prints each one's messages.
//
//   sale <day file> <day backup> <first receipt counter>
//   backup <source> <target> [fresh]     (fresh: the target is removed before each copy)
//   goods <shop.dat> <shop.bak> <first number>
//   receipt <nober.dat>
//   readers <application directory>
//
// In the crash modes every message box is printed as "message <icon> <text>" and
// questions are answered Yes; the readers mode prints "problem <what>" lines and "done".

#include "procedures/damage_run.h"

#include "cashier/receipt_number.h"
#include "cashier/sale_record.h"
#include "catalogues/goods_catalogue.h"
#include "platform/dialogs.h"
#include "startup/settings.h"
#include "store/backup.h"

#include <QApplication>
#include <QDate>
#include <QFile>
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
  std::optional<QString> openFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QString> saveFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QColor> color(const QColor&) override { return std::nullopt; }
  bool print(platform::PrintRequest&) override { return false; }
};

QString arg(char** argv, int i) {
  return QString::fromLocal8Bit(argv[i]);
}

[[noreturn]] void record_sales(const QString& dayFile, const QString& dayBackup, qint32 counter) {
  startup::Paths paths;
  paths.dayFile = dayFile;
  paths.dayBackup = dayBackup;
  for (;; ++counter) {
    const QString receipt = startup::receipt_number_text(counter);
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    const cashier::SaleRecord line{{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"),
                                    QStringLiteral("5.00"), QStringLiteral("001"), time},
                                   QString(),
                                   receipt};
    if (cashier::save_line(paths, line)) print_line(QStringLiteral("ack %1 %2").arg(receipt, time));
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
[[noreturn]] void change_goods(const QString& shopFile, const QString& shopBackup, int first) {
  startup::AppState state;
  state.paths.shopFile = shopFile;
  state.paths.shopBackup = shopBackup;
  for (int i = 0;; ++i) {
    if (i % 3 == 2) {
      const QString name = QStringLiteral("货%1").arg(first + i - 2);
      if (catalogues::del_shop(state, name)) print_line(QStringLiteral("ack del ") + name);
    } else {
      const QString name = QStringLiteral("货%1").arg(first + i);
      if (catalogues::add_shop(state, name, QStringLiteral("%1.50").arg(i)) == catalogues::AddShopResult::Registered) {
        print_line(QStringLiteral("ack add ") + name);
      }
    }
  }
}

[[noreturn]] void issue_receipts(const QString& noberFile) {
  startup::AppState state;
  state.paths.noberFile = noberFile;
  startup::load_receipt_counter(state);
  for (;;) {
    if (cashier::new_receipt_no(state)) print_line(QStringLiteral("ack %1").arg(state.receiptCounter));
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
  if (mode == QStringLiteral("backup") && (argc == 4 || argc == 5)) {
    copy_backups(arg(argv, 2), arg(argv, 3), argc == 5 && arg(argv, 4) == QStringLiteral("fresh"));
  }
  if (mode == QStringLiteral("goods") && argc == 5) change_goods(arg(argv, 2), arg(argv, 3), arg(argv, 4).toInt());
  if (mode == QStringLiteral("receipt") && argc == 3) issue_receipts(arg(argv, 2));
  return 2;
}
