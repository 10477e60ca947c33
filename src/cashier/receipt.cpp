#include "cashier/receipt.h"

#include "cashier/list_lines.h"
#include "platform/app_info.h"
#include "platform/dialogs.h"
#include "platform/line_printer.h"
#include "printing/receipt_printer.h"
#include "sales/sale_line.h"
#include "textlayout/text_layout.h"

namespace tavuro::cashier {

printing::ReceiptContent receipt_of(const TemporaryRecord& record, const QString& caption, const QString& company,
                                    const QDate& date) {
  printing::ReceiptContent receipt{caption, {}, record.total().text(), company, date};
  for (const ReceiptLine& line : record.lines()) receipt.items.append({line.number, line.columns});
  return receipt;
}

QStringList receipt_text(const printing::ReceiptContent& receipt) {
  if (receipt.items.isEmpty()) return {};
  const QString indent(4, QLatin1Char(' '));
  const QString heavy_rule(printing::kSystemReceiptColumns / 2, QChar(0x2501));  // ━
  const QString light_rule(printing::kSystemReceiptColumns / 2, QChar(0x2500));  // ─
  QString total = receipt.total;

  QStringList text;
  text << QStringLiteral("欢迎使用[") + platform::app_title() + QStringLiteral("]结算")
       << QString(36, QLatin1Char(' ')) + QStringLiteral("** 收 银 收 据 **") << receipt.caption << heavy_rule
       << QStringLiteral(" 序列号    商品名称               数量        单价         金额     操作员     时间")
       << light_rule;
  for (const printing::ReceiptItem& item : receipt.items) text << receipt_line(item.number, item.columns);
  text << light_rule
       << QStringLiteral("  合 计：") + QString(41, QLatin1Char(' ')) + sales::kColumnGap +
              textlayout::pad_text(total, textlayout::kLeft, sales::kAmountWidth)
       << heavy_rule
       << QStringLiteral("【日期:") + printing::receipt_date(receipt.date) + QStringLiteral("】      收款单位：") +
              receipt.company;
  for (QString& line : text) line.prepend(indent);
  return text;
}

QString receipt_not_printed_message() { return printing::not_printed_message(platform::LinePrinter::kNoPrinter); }

bool print_receipt(const printing::ReceiptContent& receipt, const printing::PrinterSetting& printer) {
  if (receipt.items.isEmpty()) return true;
  const QStringList text = printer.is_system() ? receipt_text(receipt)
                                               : printing::paper_receipt(receipt, printing::columns_of(printer.paper));
  const std::unique_ptr<platform::LinePrinter> job = printing::open_receipt_printer(printer);
  bool printed = false;
  if (job) {
    job->set_font_size(12);
    for (const QString& line : text) job->print_line(line);
    printed = job->end_doc();
  }
  if (!printed) platform::warn(printing::not_printed_message(job ? job->failure() : platform::LinePrinter::kNoPrinter));
  return printed;
}

}  // namespace tavuro::cashier
