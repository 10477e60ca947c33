// Measures the program's own code paths on a generated shop and prints, for each
// workload, the program's time, a raw-SQLite baseline measured in the same run on the
// same files, and their ratio.
//   tavuro_bench [DATA_DIR] [WORKLOADS]
// DATA_DIR defaults to ./bench-data (made once, then reused); WORKLOADS is a list of
// workload numbers and letters such as 15X (default: 12345678SH; H: the head office).

#include "exports_bench.h"
#include "raw_sqlite.h"
#include "shop_generator.h"
#include "timing.h"
#include "receipt_printing.h"
#include "scanner_codes.h"
#include "workloads.h"
#include "headoffice_bench.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>

#include <cstdio>

using namespace tavuro::bench;

namespace {

class CountingDialogs final : public tavuro::platform::MessageOnlyDialogs {
 public:
  tavuro::platform::Answer message(const QString& text, tavuro::platform::Icon, tavuro::platform::Buttons,
                                   const QString&) override {
    ++messages;
    last = text;
    return tavuro::platform::Answer::No;
  }
  int messages = 0;
  QString last;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString data_dir = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bench-data")).absolutePath();

  // A message box would wait for a click that never comes: count them instead.
  CountingDialogs dialogs;
  tavuro::platform::ScopedDialogs scope(dialogs);

  const QString wanted = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("12345678SH");
  // The generated shop serves the numbered workloads; the head office makes its own data.
  GeneratedShop shop;
  if (wanted.contains(QRegularExpression(QStringLiteral("[1-8X]")))) {
    std::printf("generating (or reusing) the shop in %s …\n", qPrintable(data_dir));
    std::fflush(stdout);
    const double generated = time_ms([&] { generate_shop(data_dir + QStringLiteral("/shop")); });
    shop = generate_shop(data_dir + QStringLiteral("/shop"));
    std::printf("shop ready in %.1f s\n\n", generated / 1000);
  }
  Table table;
  if (wanted.contains(QLatin1Char('1'))) {
    record_lines(shop, data_dir, table);
    first_line_after_edit(shop, data_dir, table);
  }
  if (wanted.contains(QLatin1Char('2'))) load_today(shop, table);
  if (wanted.contains(QLatin1Char('3'))) day_report(shop, table);
  if (wanted.contains(QLatin1Char('4'))) month_report(shop, table);
  if (wanted.contains(QLatin1Char('5'))) query_year(shop, table);
  if (wanted.contains(QLatin1Char('6'))) start_up_window(shop, table);
  if (wanted.contains(QLatin1Char('7'))) receipt_printing(data_dir, table);
  if (wanted.contains(QLatin1Char('8'))) check_month_journal(shop, data_dir, table);
  if (wanted.contains(QLatin1Char('S'))) scanner_codes(data_dir, table);
  // X: not in the default list (it writes a year of day files of its own the first time).
  if (wanted.contains(QLatin1Char('X'))) export_year(shop, data_dir, table);
  if (wanted.contains(QLatin1Char('H'))) headoffice(data_dir, QStringLiteral(TAVURO_SYNC), table);
  table.print();
  if (dialogs.messages > 0) {
    std::printf("\nwarning: %d message box(es) were shown during the run, the last: %s\n", dialogs.messages,
                qPrintable(dialogs.last));
  }
  return 0;
}
