#include "cashier/receipt.h"

#include "platform/app_info.h"
#include "platform/dialogs.h"
#include "platform/line_printer.h"
#include "sales/sale_line.h"
#include "textlayout/text_layout.h"

namespace tavuro::cashier {

QStringList receipt_text(const ReceiptData& receipt) {
  if (receipt.lines.isEmpty()) return {};
  const QString date = QString::number(receipt.date.year()) + QStringLiteral("年") +
                       QString::number(receipt.date.month()) + QStringLiteral("月") +
                       QString::number(receipt.date.day()) + QStringLiteral("日");
  const QString indent(4, QLatin1Char(' '));
  const QString heavyRule(44, QChar(0x2501));  // ━
  const QString lightRule(44, QChar(0x2500));  // ─
  QString total = textlayout::money_of(receipt.total);

  QStringList text;
  text << QStringLiteral("欢迎使用[") + platform::app_title() + QStringLiteral("]结算")
       << QString(36, QLatin1Char(' ')) + QStringLiteral("** 收 银 收 据 **") << receipt.receiptCaption << heavyRule
       << QStringLiteral(" 序列号    商品名称               数量        单价         金额     操作员     时间")
       << lightRule;
  text << receipt.lines;
  text << lightRule
       << QStringLiteral("  合 计：") + QString(41, QLatin1Char(' ')) + sales::kColumnGap +
              textlayout::pad_text(total, textlayout::kLeft, sales::kAmountWidth)
       << heavyRule
       << QStringLiteral("【日期:") + date + QStringLiteral("】      收款单位：") + receipt.companyName;
  for (QString& line : text) line.prepend(indent);
  return text;
}

QString receipt_not_printed_message() { return QStringLiteral("收据未能打印：没有可用的打印机，或打印任务未能开始。"); }

bool print_receipt(const ReceiptData& receipt) {
  const QStringList text = receipt_text(receipt);
  if (text.isEmpty()) return true;
  std::unique_ptr<platform::LinePrinter> printer = platform::open_line_printer();
  bool printed = false;
  if (printer) {
    printer->setFontSize(12);
    for (const QString& line : text) printer->printLine(line);
    printed = printer->endDoc();
  }
  if (!printed) platform::warn(receipt_not_printed_message());
  return printed;
}

}  // namespace tavuro::cashier
