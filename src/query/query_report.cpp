#include "query/query_report.h"

#include "platform/app_info.h"
#include "platform/line_printer.h"
#include "platform/text_file.h"
#include "sales/sale_line.h"
#include "startup/paths.h"
#include "textlayout/text_layout.h"

namespace tavuro::query {

namespace {

const QString kMargin(4, QLatin1Char(' '));
const QString kHeavyRule(44, QChar(0x2501));  // ━
const QString kLightRule(44, QChar(0x2500));  // ─

QString date_text(const QDate& date) {
  return QString::number(date.year()) + QStringLiteral("年") + QString::number(date.month()) + QStringLiteral("月") +
         QString::number(date.day()) + QStringLiteral("日");
}

}  // namespace

QStringList query_report_lines(const QueryReport& report) {
  // The header's 数量, 单价 and 金额 end where the result lines' right-aligned columns end.
  const QString header =
      QStringLiteral(" 序列号    商品名称               数量        单价          金额    操作员     时间");
  const QString total_text =
      textlayout::pad_text(report.total.text(), textlayout::kLeft, sales::kAmountWidth);

  QStringList lines{QStringLiteral("欢迎使用[") + platform::app_title() + QStringLiteral("]结算"),
                    QString(24, QLatin1Char('=')),
                    QStringLiteral("【公司名：") + report.company_name + QStringLiteral("】"),
                    QStringLiteral("查询【") + report.description + QStringLiteral("】报表"),
                    kHeavyRule,
                    header,
                    kLightRule};
  lines << report.result_lines;
  lines << kLightRule
        << QStringLiteral("  合 计：") + QString(41, QLatin1Char(' ')) + sales::kColumnGap + total_text
        << kHeavyRule
        << QStringLiteral("【制表日期: ") + date_text(report.date) + QStringLiteral(" 】") +
               QStringLiteral("    制表员：(签名)_______________");
  for (QString& line : lines) line.prepend(kMargin);
  return lines;
}

QString query_report_file(const QString& app_dir) {
  return startup::app_file(app_dir, QStringLiteral("txfile.txt"));
}

bool print_report_lines(const QStringList& lines) {
  const std::unique_ptr<platform::LinePrinter> printer = platform::open_line_printer();
  printer->set_font_size(12);
  for (const QString& line : lines) printer->print_line(line);
  return printer->end_doc();
}

bool write_report_file(const QString& path, const QStringList& lines) {
  return platform::write_text_lines(path, QStringList{QString()} + lines);
}

QString report_not_printed_message() {
  return QStringLiteral("打印机未能打印查询报表，请检查打印机是否已安装并连接。");
}

}  // namespace tavuro::query
