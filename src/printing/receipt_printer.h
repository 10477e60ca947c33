#pragma once
// The receipt printer as a line printer: the system's default printer, or an ESC/POS
// printer that gets the lines as one job in GB18030, then the feed, the cut and the
// drawer pulse of its setting.

#include "platform/line_printer.h"
#include "printing/printer_setting.h"

#include <QDateTime>
#include <memory>
#include <optional>

namespace tavuro::printing {

class EscPosPrinter final : public platform::LinePrinter {
 public:
  explicit EscPosPrinter(PrinterSetting setting) : setting_(std::move(setting)) {}

  // The printer's font A is the only size: the paper's columns are fixed by its width.
  void set_font_size(int) override {}
  void print_line(const QString& line) override { lines_ << line; }
  // Sends the job; false with failure() naming the cause when the printer did not get it.
  bool end_doc() override;
  QString failure() const override { return failure_; }

 private:
  PrinterSetting setting_;
  QStringList lines_;
  QString failure_;
};

// A new job for the receipt printer of the setting.
std::unique_ptr<platform::LinePrinter> open_receipt_printer(const PrinterSetting& setting);

// Prints the test page on the printer of the setting: nothing when it was printed,
// otherwise the cause.
std::optional<QString> print_test_page(const PrinterSetting& setting, const QDateTime& now);

// "收据未能打印：" and the cause.
QString not_printed_message(const QString& cause);

}  // namespace tavuro::printing
