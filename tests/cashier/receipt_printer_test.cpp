// 打印临时记录 on a receipt printer of printer.dat: the temporary record reaches the
// thermal printer as the golden job, and a printer that cannot be reached is told within
// 3 s while the sale stays recorded and the window goes on.

#include "cashier_window.h"

#include "platform/line_printer.h"
#include "platform/text_file.h"
#include "printing/escpos.h"
#include "startup/settings.h"
#include "support/golden_receipt.h"
#include "support/printer_listener.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

class ReceiptPrinterWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    cashier.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
    cashier.shop.add_goods(QStringLiteral("面包片"), QStringLiteral("2.50"));
    ASSERT_TRUE(platform::write_one_line_file(cashier.shop.state.paths.nober_file, QStringLiteral("122")));
    cashier.shop.state.receipt_counter = 122;
    cashier.shop.state.company_name = QStringLiteral("小王商店");
  }

  // printer.dat holds line, read as at start-up; then the window opens on receipt 000123.
  void open_with_printer(const QString& line) {
    ASSERT_TRUE(platform::write_one_line_file(cashier.shop.state.paths.printer_file, line));
    startup::load_receipt_printer(cashier.shop.state);
    cashier.open();
    cashier.button("Command4")->click();
  }

  // The lines of the golden receipt, each recorded by its operator at its time.
  void record_golden_lines() {
    record(QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("5.00"), QStringLiteral("001"), QTime(15, 5, 9));
    record(QStringLiteral("面包片"), QStringLiteral("5.00"), QStringLiteral("12.50"), QStringLiteral("王五"),
           QTime(15, 6, 10));
  }

  void record(const QString& goods, const QString& quantity, const QString& amount, const QString& op, QTime at) {
    cashier.shop.state.current_operator = op;
    cashier.shop.clock.set(QDateTime(QDate(2003, 5, 7), at));
    cashier.button("Command1")->setFocus();
    cashier.combo("Combo1")->setEditText(goods);
    cashier.text("Text1")->setText(quantity);
    cashier.text("Text2")->setText(QStringLiteral("2.50"));
    cashier.text("Text3")->setText(amount);
    cashier.button("Command1")->click();
  }

  // 打印临时记录, and how long it took.
  qint64 print() {
    QElapsedTimer timer;
    timer.start();
    cashier.button("Command3")->click();
    return timer.elapsed();
  }

  // After a failed print: the sale is in the day file, printing is off, and the next
  // customer can be served.
  void expect_sale_kept_and_window_usable() {
    EXPECT_EQ(cashier.shop.records(cashier.shop.state.paths.day_file).size(), 2u);
    EXPECT_FALSE(cashier.button("Command3")->isEnabled());
    ASSERT_TRUE(cashier.button("Command2")->isEnabled());
    cashier.button("Command2")->click();
    EXPECT_TRUE(cashier.lines("List1").isEmpty());
    cashier.button("Command4")->click();
    EXPECT_EQ(cashier.label("Label3")->text(), QStringLiteral("单号:000124"));
  }

  CashierWindow cashier;
  std::vector<platform::PrintedDocument> system_printed;
  platform::ScopedLinePrinterFactory system_printer{
      [this] { return std::make_unique<platform::RecordingPrinter>(system_printed); }};
};

TEST_F(ReceiptPrinterWindow, TheTemporaryRecordGoesToTheDeviceFileAsTheGoldenJob) {
  const QString device = cashier.shop.file(QStringLiteral("lp0"));
  write_bytes(device, {});
  open_with_printer(QStringLiteral("escpos:file:%1?width=58&cut=1&drawer=1").arg(device));
  record_golden_lines();
  ASSERT_EQ(cashier.lines("List1").size(), 2);
  print();
  EXPECT_TRUE(cashier.dialogs.messages().isEmpty()) << cashier.dialogs.messages().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(read_bytes(device), golden::job_of(golden::narrow_lines(), true, true));
  EXPECT_TRUE(system_printed.empty());
  EXPECT_FALSE(cashier.button("Command3")->isEnabled());
}

TEST_F(ReceiptPrinterWindow, ANetworkPrinterGetsTheWideReceipt) {
  PrinterListener printer;
  open_with_printer(QStringLiteral("escpos:tcp:127.0.0.1:%1?width=80&cut=1&drawer=0").arg(printer.port()));
  record_golden_lines();
  print();
  EXPECT_TRUE(cashier.dialogs.messages().isEmpty()) << cashier.dialogs.messages().join(QLatin1Char('\n')).toStdString();
  ASSERT_TRUE(printer.wait_for_jobs(1));
  EXPECT_EQ(printer.jobs()[0], printing::escpos::status_query() + golden::job_of(golden::wide_lines(), true, false));
}

TEST_F(ReceiptPrinterWindow, ARefusedConnectionIsToldWithinThreeSecondsAndTheSaleStays) {
  const quint16 port = closed_port();
  open_with_printer(QStringLiteral("escpos:tcp:127.0.0.1:%1?width=80&cut=1&drawer=1").arg(port));
  record_golden_lines();
  EXPECT_LT(print(), 3000);
  EXPECT_EQ(cashier.dialogs.messages(),
            QStringList{QStringLiteral("收据未能打印：打印机 127.0.0.1:%1 拒绝连接（地址或端口不对，或打印机没有开机？）。")
                            .arg(port)});
  EXPECT_EQ(cashier.dialogs.last_message().icon, platform::Icon::Exclamation);
  expect_sale_kept_and_window_usable();
}

TEST_F(ReceiptPrinterWindow, ASilentPrinterIsToldWithinThreeSecondsAndTheSaleStays) {
  PrinterListener silent(PrinterListener::Behaviour::Silent);
  open_with_printer(QStringLiteral("escpos:tcp:127.0.0.1:%1?width=58&cut=0&drawer=0").arg(silent.port()));
  record_golden_lines();
  const qint64 took = print();
  EXPECT_GE(took, 2000);
  EXPECT_LT(took, 3000);
  EXPECT_EQ(cashier.dialogs.messages(),
            QStringList{QStringLiteral("收据未能打印：打印机 127.0.0.1:%1 在 2 秒内没有应答。").arg(silent.port())});
  expect_sale_kept_and_window_usable();
}

TEST_F(ReceiptPrinterWindow, ALineThatIsNoSettingPrintsOnTheSystemPrinterAsBefore) {
  open_with_printer(QStringLiteral("escpos:lpt1"));
  record_golden_lines();
  print();
  EXPECT_TRUE(cashier.dialogs.messages().isEmpty());
  ASSERT_EQ(system_printed.size(), 1u);
  EXPECT_EQ(system_printed[0].font_size, 12);
  EXPECT_EQ(system_printed[0].lines.size(), 12);
  EXPECT_EQ(system_printed[0].lines[2], QStringLiteral("    单号:000123"));
}

}  // namespace
}  // namespace tavuro::testing
