// 导出表格… in the document window: the goods and operator tables of a report the program
// built, as two sheets of a workbook or two sections of a CSV; and the report printed to
// a PDF keeps its box characters in line.

#include "reports/doc_window.h"
#include "reports/frm_doc_print.h"
#include "reports/report_runs.h"
#include "reports/sales_report.h"

#include "support/export_reader.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "textlayout/text_layout.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTextEdit>

namespace tavuro::reports {
namespace {

using testing::SaleLine;
using testing::ScriptedDialogs;
using testing::ShopFixture;

struct ReportExportTest : ::testing::Test {
  void SetUp() override {
    shop.start_up();
    shop.state.company_name = QStringLiteral("天河小店");
    shop.add_goods(QStringLiteral("可口可乐"), QStringLiteral("2.50"));
    shop.add_goods(QStringLiteral("面包"), QStringLiteral("4.00"));
    shop.add_operator(QStringLiteral("张三"));
    shop.add_operator(QStringLiteral("002"));
    sell(QStringLiteral("可口可乐"), QStringLiteral("2.00"), QStringLiteral("5.00"), QStringLiteral("张三"));
    sell(QStringLiteral("可口可乐"), QStringLiteral("1.50"), QStringLiteral("3.75"), QStringLiteral("002"));
    sell(QStringLiteral("未登记"), QStringLiteral("1.00"), QStringLiteral("0.10"), QStringLiteral("002"));
  }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<frmDoc_print*>(w) != nullptr) w->close();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void sell(const QString& goods, const QString& quantity, const QString& amount, const QString& op) {
    SaleLine line;
    line.goods = goods;
    line.quantity = quantity;
    line.amount = amount;
    line.op = op;
    shop.add_sale(line);
  }

  // The document window open on screen.
  static frmDoc_print* window() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* doc = qobject_cast<frmDoc_print*>(w); doc != nullptr && doc->isVisible()) return doc;
    }
    return nullptr;
  }
  static QAction* export_item(frmDoc_print* doc) { return doc->findChild<QAction*>(QStringLiteral("导出表格")); }

  ShopFixture shop;
  ScriptedDialogs dialogs;
};

TEST_F(ReportExportTest, TheDayReportsTablesAsTwoSheetsAndTwoSections) {
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));
  show_document_window(shop.state, nullptr, false);
  frmDoc_print* doc = window();
  ASSERT_NE(doc, nullptr);
  ASSERT_TRUE(export_item(doc)->isEnabled());

  const QString xlsx = shop.file(QStringLiteral("报表.xlsx"));
  dialogs.answer_file(xlsx);
  export_item(doc)->trigger();
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("导出完成，共 2 张表。\n文件：") + xlsx);
  const QList<testing::XlsxSheet> sheets = testing::read_xlsx(xlsx);
  ASSERT_EQ(sheets.size(), 2);
  EXPECT_EQ(sheets[0].name, QStringLiteral("商品销售明细"));
  EXPECT_EQ(sheets[0].rows,
            (QList<QStringList>{{QStringLiteral("s:序号"), QStringLiteral("s:商品"), QStringLiteral("s:数量"),
                                 QStringLiteral("s:金额")},
                                {QStringLiteral("n:1|General"), QStringLiteral("s:可口可乐"),
                                 QStringLiteral("n:3.5|0.00"), QStringLiteral("n:8.75|0.00")},
                                {QStringLiteral("n:2|General"), QStringLiteral("s:面包"), QStringLiteral("n:0|0.00"),
                                 QStringLiteral("n:0|0.00")},
                                {QStringLiteral("s:合计"), QString(), QString(), QStringLiteral("n:8.75|0.00")}}));
  EXPECT_EQ(sheets[1].name, QStringLiteral("个人销售明细"));
  // The unregistered goods counts for its operator, as in the report.
  EXPECT_EQ(sheets[1].rows,
            (QList<QStringList>{{QStringLiteral("s:序号"), QStringLiteral("s:操作员姓名/编号"),
                                 QStringLiteral("s:个人销售金额")},
                                {QStringLiteral("n:1|General"), QStringLiteral("s:张三"), QStringLiteral("n:5|0.00")},
                                {QStringLiteral("n:2|General"), QStringLiteral("s:002"), QStringLiteral("n:3.85|0.00")},
                                {QStringLiteral("s:合计"), QString(), QStringLiteral("n:8.85|0.00")}}));

  const QString csv = shop.file(QStringLiteral("报表.csv"));
  dialogs.answer_file(csv);
  export_item(doc)->trigger();
  const testing::CsvFile sections = testing::read_csv(csv);
  EXPECT_TRUE(sections.byte_order_mark);
  EXPECT_EQ(sections.rows,
            (QList<QStringList>{{QStringLiteral("商品销售明细")},
                                {QStringLiteral("序号"), QStringLiteral("商品"), QStringLiteral("数量"),
                                 QStringLiteral("金额")},
                                {QStringLiteral("1"), QStringLiteral("可口可乐"), QStringLiteral("3.50"),
                                 QStringLiteral("8.75")},
                                {QStringLiteral("2"), QStringLiteral("面包"), QStringLiteral("0.00"),
                                 QStringLiteral("0.00")},
                                {QStringLiteral("合计"), QString(), QString(), QStringLiteral("8.75")},
                                {QString()},
                                {QStringLiteral("个人销售明细")},
                                {QStringLiteral("序号"), QStringLiteral("操作员姓名/编号"),
                                 QStringLiteral("个人销售金额")},
                                {QStringLiteral("1"), QStringLiteral("张三"), QStringLiteral("5.00")},
                                {QStringLiteral("2"), QStringLiteral("002"), QStringLiteral("3.85")},
                                {QStringLiteral("合计"), QString(), QStringLiteral("8.85")}}));
}

TEST_F(ReportExportTest, OnlyAReportTheProgramBuiltCanBeExported) {
  // A report of one file per sheet pair, named by the files.
  const QString folder = shop.state.paths.month_folder;
  shop.add_sale({QStringLiteral("面包")}, folder + QStringLiteral("/6.day"));
  ASSERT_TRUE(run_reports(shop.state, RunMode::Single, folder, {QStringLiteral("6.day"), QStringLiteral("7.day")}));
  show_document_window(shop.state, nullptr, false);
  ASSERT_TRUE(export_item(window())->isEnabled());
  const QString xlsx = shop.file(QStringLiteral("each.xlsx"));
  dialogs.answer_file(xlsx);
  export_item(window())->trigger();
  QStringList names;
  for (const testing::XlsxSheet& sheet : testing::read_xlsx(xlsx)) names << sheet.name;
  EXPECT_EQ(names, (QStringList{QStringLiteral("2003_5_6 商品"), QStringLiteral("2003_5_6 操作员"),
                                QStringLiteral("2003_5_7 商品"), QStringLiteral("2003_5_7 操作员")}));

  // Another file opened in the window is no longer the report.
  const QString text = shop.file(QStringLiteral("note.txt"));
  testing::write_bytes(text, "hello");
  dialogs.answer_file(text);
  window()->open_file();
  EXPECT_FALSE(export_item(window())->isEnabled());

  // Tables left from a report whose file another producer has since replaced stay behind.
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));
  const QString other = shop.file(QStringLiteral("txfile.txt"));
  testing::write_bytes(other, "query report");
  shop.state.current_report_file = other;
  show_document_window(shop.state, nullptr, false);
  EXPECT_EQ(window()->editor()->toPlainText(), QStringLiteral("query report"));
  EXPECT_FALSE(export_item(window())->isEnabled());
  EXPECT_TRUE(shop.state.report_tables.workbook.empty());
}

// The report printed to a PDF file through the print dialog reads back with every box
// character of a table in the column where the text puts it. pdftotext -layout guesses the
// width of the gaps between words and squeezes runs of spaces, so the places are taken
// from pdftotext -bbox, which gives each word's left and right edge on the page.
TEST_F(ReportExportTest, APdfOfTheReportKeepsItsBoxCharactersInLine) {
  ASSERT_TRUE(build_sales_report(shop.state, shop.state.paths.day_file));
  show_document_window(shop.state, nullptr, false);
  const QString pdf = shop.file(QStringLiteral("report.pdf"));
  dialogs.answer_print(false, [pdf](QPrinter* printer) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
  });
  const QStringList shown = window()->editor()->toPlainText().split(QLatin1Char('\n'));
  window()->print();

  const QString boxes = QStringLiteral("│┌┬┐├┼┤└┴┘");
  // The display columns of the box characters of each line that has any.
  QList<QList<int>> expected;
  for (const QString& line : shown) {
    QList<int> at;
    int column = 0;
    for (const QChar c : line) {
      if (boxes.contains(c)) at << column;
      column += static_cast<int>(textlayout::column_width(QString(c)));
    }
    if (!at.isEmpty()) expected << at;
  }

  QProcess extract;
  extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(extract.waitForFinished(60000));
  const QString html = QString::fromUtf8(extract.readAllStandardOutput());
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>"));
  // One column's width on the page, from the first border line; each box character's
  // left edge, line by line (a line is the words of one yMin).
  double left = -1;
  double pitch = 0;
  QList<double> line_tops;
  QList<QList<double>> edges;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const double x_min = m.captured(1).toDouble();
    const double top = m.captured(2).toDouble();
    const QString text = m.captured(4);
    const double width = static_cast<double>(textlayout::column_width(text));
    if (left < 0 && text.startsWith(QStringLiteral("┌"))) {
      left = x_min;
      pitch = (m.captured(3).toDouble() - x_min) / width;
    }
    int offset = 0;
    for (const QChar c : text) {
      if (boxes.contains(c)) {
        if (line_tops.isEmpty() || line_tops.back() != top) {
          line_tops << top;
          edges << QList<double>();
        }
        edges.back() << x_min + offset * (m.captured(3).toDouble() - x_min) / width;
      }
      offset += static_cast<int>(textlayout::column_width(QString(c)));
    }
  }
  ASSERT_GT(pitch, 0);
  ASSERT_EQ(edges.size(), expected.size());
  for (qsizetype i = 0; i < edges.size(); ++i) {
    ASSERT_EQ(edges[i].size(), expected[i].size()) << "line " << i;
    for (qsizetype j = 0; j < edges[i].size(); ++j) {
      // On the column grid to a hundredth of a point, in the column of the text.
      EXPECT_NEAR(edges[i][j], left + (expected[i][j] - expected[0][0]) * pitch, 0.01) << "line " << i << ", box " << j;
    }
  }
}

}  // namespace
}  // namespace tavuro::reports
