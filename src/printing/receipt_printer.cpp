#include "printing/receipt_printer.h"

#include "printing/escpos.h"
#include "printing/receipt_layout.h"
#include "printing/transport.h"

namespace tavuro::printing {

bool EscPosPrinter::end_doc() {
  const QStringList lines = std::exchange(lines_, {});
  if (!escpos::gb18030_available()) {
    failure_ = QStringLiteral("这台电脑的 Qt 不能写 GB18030 文字（缺少 ICU）");
    return false;
  }
  const auto cause = send_to_printer(setting_, escpos::job(lines, setting_.cut, setting_.drawer));
  failure_ = cause.value_or(QString());
  return !cause;
}

std::unique_ptr<platform::LinePrinter> open_receipt_printer(const PrinterSetting& setting) {
  if (setting.is_system()) return platform::open_line_printer();
  return std::make_unique<EscPosPrinter>(setting);
}

std::optional<QString> print_test_page(const PrinterSetting& setting, const QDateTime& now) {
  const std::unique_ptr<platform::LinePrinter> printer = open_receipt_printer(setting);
  if (!printer) return platform::LinePrinter::kNoPrinter;
  printer->set_font_size(12);
  for (const QString& line : test_page(setting, now)) printer->print_line(line);
  if (printer->end_doc()) return std::nullopt;
  return printer->failure();
}

QString not_printed_message(const QString& cause) { return QStringLiteral("收据未能打印：") + cause + QStringLiteral("。"); }

}  // namespace tavuro::printing
