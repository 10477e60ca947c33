#include "query/query_report.h"

#include "qt_printing.h"

#include "platform/line_printer.h"
#include "platform/text_file.h"
#include "sales/display_line.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "textlayout/text_layout.h"

#include <gtest/gtest.h>

namespace tavuro::query {
namespace {

// The display column (1-based) at which the first occurrence of word in line ends.
int end_column(const QString& line, const QString& word) {
  const qsizetype at = line.indexOf(word);
  EXPECT_GE(at, 0) << word.toStdString();
  // A leading letter keeps the leading spaces from being trimmed away.
  QString prefix = QStringLiteral("x") + line.left(at + word.size());
  return textlayout::text_width(prefix) - 1;
}

TEST(QueryReport, HeaderAndTotalStandOverTheResultColumns) {
  const QString result =
      sales::display_line(1, {QStringLiteral("可乐"), QStringLiteral("12345.00"), QStringLiteral("99999.99"),
                              QStringLiteral("9999999.99"), QStringLiteral("张三"), QStringLiteral("15:05:09")});
  const QStringList lines = query_report_lines({{result}, QStringLiteral("单号=1"), sales::Money::from_hundredths(999999900), {}, QDate(2003, 5, 7)});
  const QString margin(4, QLatin1Char(' '));
  const QString header = lines[5].mid(4);
  EXPECT_EQ(end_column(header, QStringLiteral("数量")), end_column(result, QStringLiteral("12345.00")));
  EXPECT_EQ(end_column(header, QStringLiteral("单价")), end_column(result, QStringLiteral("99999.99")));
  EXPECT_EQ(end_column(header, QStringLiteral("金额")), end_column(result, QStringLiteral("9999999.99")));
  EXPECT_EQ(end_column(result, QStringLiteral("9999999.99")), 64);
  const QString total = lines[9].mid(4);
  EXPECT_EQ(end_column(total, QStringLiteral("9999999.00")), 64);
  EXPECT_EQ(lines[7], margin + result);
}

TEST(QueryReport, EmptyCompanyAndZeroTotal) {
  const QStringList lines = query_report_lines({{QStringLiteral("x")}, {}, sales::Money(), {}, QDate(2010, 12, 31)});
  ASSERT_EQ(lines.size(), 12);
  EXPECT_EQ(lines[2], QStringLiteral("    【公司名：】"));
  EXPECT_EQ(lines[3], QStringLiteral("    查询【】报表"));
  EXPECT_EQ(lines[9], QStringLiteral("      合 计：") + QString(45, QLatin1Char(' ')) + QStringLiteral("      0.00"));
  EXPECT_EQ(lines[11], QStringLiteral("    【制表日期: 2010年12月31日 】    制表员：(签名)_______________"));
}

TEST(QueryReport, ThePrintedPageHasNoLeadingEmptyLineTheFileHasOne) {
  const QStringList lines{QStringLiteral("    第一行"), QStringLiteral("    ━━")};
  std::vector<platform::PrintedDocument> printed;
  {
    platform::ScopedLinePrinterFactory factory(
        [&printed] { return std::make_unique<platform::RecordingPrinter>(printed); });
    EXPECT_TRUE(print_report_lines(lines));
  }
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].font_size, 12);
  EXPECT_EQ(printed[0].lines, lines);

  testing::ShopFixture shop;
  const QString path = query_report_file(shop.dir());
  EXPECT_EQ(path, shop.dir() + QStringLiteral("/txfile.txt"));
  ASSERT_TRUE(write_report_file(path, lines));
  EXPECT_EQ(testing::read_bytes(path),
            "\r\n" + platform::to_local_code_page(QStringLiteral("    第一行\r\n    ━━\r\n")));
}

}  // namespace
}  // namespace tavuro::query
