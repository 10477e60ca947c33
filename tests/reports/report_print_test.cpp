#include "reports/frm_doc_print.h"
#include "reports/frm_print.h"
#include "reports/frm_print_settings.h"
#include "reports/report_runs.h"

#include "platform/text_file.h"
#include "report_test_support.h"
#include "store/data_file.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>

namespace tavuro::reports {
namespace {

using test::sale;
using testing::ScriptedDialogs;
using testing::ShopFixture;

// A month folder 2003_5 with days 1 and 3 sold, day 2 without sales, and today (7) empty.
struct ReportRunTest : ::testing::Test {
  ReportRunTest() {
    shop.start_up();
    shop.state.company_name = QStringLiteral("天河");
    shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
    shop.add_goods(QStringLiteral("雪碧"), QStringLiteral("3.00"));
    shop.add_operator(QStringLiteral("张三"));
    shop.add_sale(sale("可乐", "1.00", "2.50", "张三"), day(1));
    store::DataFile::create(day(2), store::day_schema());
    shop.add_sale(sale("雪碧", "2.00", "6.00", "张三"), day(3));
    shop.add_sale(sale("可乐", "1.00", "2.50", "张三"), day(3));
  }
  QString folder() const { return shop.state.paths.month_folder; }
  QString day(int n) const { return folder() + QStringLiteral("/%1.day").arg(n); }
  QString output() const { return shop.file(QStringLiteral("p_file.run")); }

  ShopFixture shop;
  ScriptedDialogs dialogs;
};

// %1 stands for the stem.
QStringList summed_report(const char* stem) {
  QStringList lines = test::utf8_lines({
      "",
      "  【公司名：天河】",
      "  【%1 商品销售明细报表 】",
      "  ┌───┬───────────────┬─────────┬──────────────┐",
      "  │ 序号 │         商       品          │    数      量    │          金    额          │",
      "  ├───┼───────────────┼─────────┼──────────────┤",
      "  │    1 │       可乐                   │         2.00     │               5.00         │",
      "  │    2 │       雪碧                   │         2.00     │               6.00         │",
      "  ├───┼───────────────┼─────────┼──────────────┤",
      "  │      │           合     计          │                  │              11.00 （元）  │",
      "  └───┴───────────────┴─────────┴──────────────┘",
      "  ",
      "  【%1 个人销售明细表 】",
      "  ┌───┬─────────────────┬────────────────┐",
      "  │ 序号 │          操作员姓名/编号         │          个人销售金额          │",
      "  ├───┼─────────────────┼────────────────┤",
      "  │    1 │               张三               │                11.00           │",
      "  ├───┼─────────────────┼────────────────┤",
      "  │      │             合     计            │                11.00 （元）    │",
      "  └───┴─────────────────┴────────────────┘",
      "  ┌───┬────────────────────────────────────────┐",
      "  │  备  │                                                                                │",
      "  │  注  │                                                                                │",
      "  └───┴────────────────────────────────────────┘",
      "  【制表日期: 2003年5月7日 】    制表员：(签名)_______________",
  });
  return lines.replaceInStrings(QStringLiteral("%1"), QString::fromUtf8(stem));
}

TEST_F(ReportRunTest, SummedReportOverChosenFilesSkipsTheEmptyOneButNamesIt) {
  std::vector<std::pair<int, int>> steps;
  ASSERT_TRUE(run_reports(shop.state, RunMode::Summed, folder(),
                          {QStringLiteral("1.day"), QStringLiteral("2.day"), QStringLiteral("3.day")},
                          [&steps](int done, int total) { steps.emplace_back(done, total); }));
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(shop.state.current_report_file, output());
  test::expect_lines(test::report_file_lines(output()), summed_report("2003_5_[1,2,3]日合计"));
  EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(ReportRunTest, MonthEndReport) {
  ASSERT_TRUE(run_reports(shop.state, RunMode::MonthEnd, folder() + QLatin1Char('/'),
                          {QStringLiteral("1.day"), QStringLiteral("2.day"), QStringLiteral("3.day"),
                           QStringLiteral("7.day"), QStringLiteral("9.day")}));
  test::expect_lines(test::report_file_lines(output()), summed_report("2003_5_[月结]"));
}

TEST_F(ReportRunTest, OneReportPerFileFillsWholePagesOfSeventyLines) {
  for (const char* name : {"面包", "牛奶", "饼干", "口香糖", "薯片", "方便面", "啤酒", "香烟"}) {
    shop.add_goods(QString::fromUtf8(name), QStringLiteral("1.00"));
  }
  shop.add_operator(QStringLiteral("李四"));
  shop.add_operator(QStringLiteral("007"));
  ASSERT_TRUE(run_reports(shop.state, RunMode::Single, folder(),
                          {QStringLiteral("1.day"), QStringLiteral("2.day"), QStringLiteral("3.day")}));
  const QStringList lines = test::report_file_lines(output());
  // Two reports (day 2 has no sales) of 21 lines of text (company and title on one line),
  // 10 goods and 3 operators, each filled with empty lines to 70.
  ASSERT_EQ(lines.size(), 2 * 70);
  EXPECT_EQ(lines[0], QString());
  EXPECT_EQ(lines[1], QStringLiteral("  【公司名：天河】【2003_5_1 商品销售明细报表 】"));
  EXPECT_EQ(lines[2], QStringLiteral("  ┌───┬───────────────┬─────────┬──────────────┐"));
  EXPECT_EQ(lines[5], QStringLiteral(
                          "  │    1 │       可乐                   │         1.00     │               2.50         │"));
  EXPECT_EQ(lines[33], QStringLiteral("  【制表日期: 2003年5月7日 】    制表员：(签名)_______________"));
  for (int i = 34; i < 70; ++i) EXPECT_EQ(lines[i], QString()) << i;
  EXPECT_EQ(lines[70], QString());
  EXPECT_EQ(lines[71], QStringLiteral("  【公司名：天河】【2003_5_3 商品销售明细报表 】"));
  EXPECT_EQ(
      lines[75],
      QStringLiteral("  │    1 │       可乐                   │         1.00     │               2.50         │"));
  EXPECT_EQ(
      lines[76],
      QStringLiteral("  │    2 │       雪碧                   │         2.00     │               6.00         │"));
  EXPECT_EQ(lines[103], QStringLiteral("  【制表日期: 2003年5月7日 】    制表员：(签名)_______________"));

  // A report longer than a page is filled to two pages.
  for (int i = 0; i < 40; ++i) shop.add_goods(QStringLiteral("货%1").arg(i), QStringLiteral("1.00"));
  ASSERT_TRUE(run_reports(shop.state, RunMode::Single, folder(), {QStringLiteral("1.day"), QStringLiteral("3.day")}));
  const QStringList longer = test::report_file_lines(output());
  ASSERT_EQ(longer.size(), 2 * 140);  // 21 + 50 goods + 3 operators = 74 lines each
  EXPECT_EQ(longer[140 + 1], QStringLiteral("  【公司名：天河】【2003_5_3 商品销售明细报表 】"));
  EXPECT_EQ(longer[73], QStringLiteral("  【制表日期: 2003年5月7日 】    制表员：(签名)_______________"));
  EXPECT_EQ(longer[74], QString());
}

TEST_F(ReportRunTest, MessagesOfARun) {
  const QString pending = shop.file(QStringLiteral("old.run"));
  testing::write_bytes(pending, "old");
  shop.state.current_report_file = pending;
  EXPECT_FALSE(run_reports(shop.state, RunMode::Summed, folder(), {}));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你还未选择文件.")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);
  EXPECT_FALSE(QFile::exists(pending));

  dialogs.clear();
  QFile::remove(shop.state.paths.shop_file);
  EXPECT_FALSE(run_reports(shop.state, RunMode::Summed, folder(), {QStringLiteral("1.day")}));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错 [读商品名到数组 R_shop()]")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_FALSE(QFile::exists(output()));
}

TEST_F(ReportRunTest, AnUnsavedCompanyNameOrNoOperatorsEndTheRunWithTheDayReportsMessages) {
  const QStringList days{QStringLiteral("1.day"), QStringLiteral("3.day")};
  const auto expect_end = [&](const QString& message, const QString& company) {
    for (const RunMode mode : {RunMode::Single, RunMode::Summed, RunMode::MonthEnd}) {
      dialogs.clear();
      shop.state.company_name = company;
      if (company.isEmpty()) dialogs.answer_input(QStringLiteral("天河"));
      EXPECT_FALSE(run_reports(shop.state, mode, folder(), days));
      ASSERT_FALSE(dialogs.shown().empty());
      EXPECT_EQ(dialogs.shown().back().text, message);
      EXPECT_EQ(dialogs.shown().back().icon, platform::Icon::Exclamation);
      EXPECT_FALSE(QFile::exists(output()));
      EXPECT_TRUE(shop.state.current_report_file.isEmpty());
    }
  };
  // co.dat cannot be written (a folder stands in its place): the name typed is not saved.
  QFile::remove(shop.state.paths.co_file);
  ASSERT_TRUE(QDir().mkdir(shop.state.paths.co_file));
  expect_end(QStringLiteral("读数据文件时出错,可能你选的文件不是每天的数据文件！"), QString());
  EXPECT_FALSE(dialogs.answers_left());
  ASSERT_TRUE(QDir().rmdir(shop.state.paths.co_file));

  const QString no_operators = QStringLiteral(
      "数据出错 [读操作员名,计算它的销售金额入数组 R_use(),R_use_money()]\r\r当前的文件是空的数据文件。");
  QFile::remove(shop.state.paths.use_file);
  expect_end(no_operators, QStringLiteral("天河"));
  store::DataFile::create(shop.state.paths.use_file, store::name_list_schema());
  expect_end(no_operators, QStringLiteral("天河"));
}

// Runs work in the window, then closes the modal document window it opens.
template <typename Work>
QString text_of_modal_document(Work work) {
  QString text;
  QTimer::singleShot(0, [&text] {
    auto* doc = qobject_cast<frmDoc_print*>(QApplication::activeModalWidget());
    if (doc == nullptr) return;
    text = doc->editor()->toPlainText();
    doc->close();
  });
  work();
  return text;
}

TEST_F(ReportRunTest, WindowModesSelectionsAndMessages) {
  Frm_print window(shop.state);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("自由式打印"));
  auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
  auto* check = window.findChild<QCheckBox*>(QStringLiteral("Check1"));
  auto* option1 = window.findChild<QRadioButton*>(QStringLiteral("Option1"));
  auto* option3 = window.findChild<QRadioButton*>(QStringLiteral("Option3"));
  EXPECT_TRUE(window.findChild<QRadioButton*>(QStringLiteral("Option2"))->isChecked());
  EXPECT_EQ(window.folder(), QDir::cleanPath(shop.dir()));
  EXPECT_EQ(list->count(), 0);  // no day files in the application directory itself

  window.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你尚未选取打印的文件。")});

  window.set_folder(folder());
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  EXPECT_EQ(names, (QStringList{QStringLiteral("1.day"), QStringLiteral("2.day"), QStringLiteral("3.day"),
                                QStringLiteral("7.day")}));

  option3->click();
  EXPECT_TRUE(check->isChecked());
  EXPECT_FALSE(check->isEnabled());
  EXPECT_FALSE(list->isEnabled());
  EXPECT_EQ(list->selectedItems().size(), 4);
  window.set_folder(folder());  // a new folder in month-end mode stays all chosen
  EXPECT_EQ(list->selectedItems().size(), 4);
  option1->click();
  EXPECT_FALSE(check->isChecked());
  EXPECT_TRUE(check->isEnabled() && list->isEnabled());
  EXPECT_TRUE(list->selectedItems().isEmpty());
  check->click();
  EXPECT_EQ(list->selectedItems().size(), 4);
  check->click();
  EXPECT_TRUE(list->selectedItems().isEmpty());

  // Preview of the summed mode: the report opens in the modal document window.
  window.findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
  list->item(0)->setSelected(true);
  list->item(2)->setSelected(true);
  shop.state.print_window_flag = true;
  const QString text =
      text_of_modal_document([&window] { window.findChild<QPushButton*>(QStringLiteral("Command2"))->click(); });
  EXPECT_FALSE(shop.state.print_window_flag);
  EXPECT_TRUE(text.contains(QStringLiteral("【2003_5_[1,3]日合计 商品销售明细报表 】"))) << text.toStdString();
  EXPECT_FALSE(QFile::exists(output()));
  EXPECT_TRUE(shop.state.current_report_file.isEmpty());

  // Print: the flag goes on and the document window prints at once.
  dialogs.answer_print(false, [this](QPrinter* printer) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(shop.file(QStringLiteral("month.pdf")));
  });
  option3->click();
  window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  EXPECT_TRUE(shop.state.print_window_flag);
  EXPECT_TRUE(testing::read_bytes(shop.file(QStringLiteral("month.pdf"))).startsWith("%PDF"));
}

// Prints the single-file reports of the chosen day files from the window into a PDF and
// returns its pages.
QList<QStringList> print_each_file(ScriptedDialogs& dialogs, ShopFixture& shop, const QString& folder,
                                   const QString& pdf) {
  Frm_print window(shop.state);
  window.set_folder(folder);
  window.findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
  window.findChild<QCheckBox*>(QStringLiteral("Check1"))->click();
  dialogs.answer_print(false, [pdf](QPrinter* printer) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
  });
  window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  EXPECT_FALSE(dialogs.answers_left());
  return test::pdf_pages(pdf);
}

TEST_F(ReportRunTest, EachFilesReportPrintsOnPagesOfItsOwn) {
  for (const char* name : {"面包", "牛奶", "饼干", "口香糖", "薯片", "方便面", "啤酒", "香烟"}) {
    shop.add_goods(QString::fromUtf8(name), QStringLiteral("1.00"));
  }
  shop.add_sale(sale("面包", "1.00", "1.00", "张三"), day(4));
  const auto title = [](int n) { return QStringLiteral("【公司名：天河】【2003_5_%1商品销售明细报表】").arg(n); };
  const QString date_line = QStringLiteral("【制表日期:2003年5月7日】制表员：(签名)_______________");

  // Days 1, 3 and 4 have sales: three reports of 70 lines, one page each.
  const QList<QStringList> pages = print_each_file(dialogs, shop, folder(), shop.file(QStringLiteral("each.pdf")));
  ASSERT_EQ(pages.size(), 3);
  const int days[] = {1, 3, 4};
  for (int i = 0; i < 3; ++i) {
    ASSERT_FALSE(pages[i].isEmpty()) << i;
    EXPECT_EQ(pages[i].front(), title(days[i])) << "page " << i + 1;
    EXPECT_EQ(pages[i].back(), date_line) << "page " << i + 1;
  }

  // Reports longer than a page take two pages each, and the next still starts a page.
  for (int i = 0; i < 50; ++i) shop.add_goods(QStringLiteral("货%1").arg(i), QStringLiteral("1.00"));
  const QList<QStringList> longer =
      print_each_file(dialogs, shop, folder(), shop.file(QStringLiteral("longer.pdf")));
  ASSERT_EQ(longer.size(), 6);
  for (int i = 0; i < 3; ++i) {
    ASSERT_FALSE(longer[2 * i].isEmpty() || longer[2 * i + 1].isEmpty()) << i;
    EXPECT_EQ(longer[2 * i].front(), title(days[i])) << "page " << 2 * i + 1;
    EXPECT_FALSE(longer[2 * i].contains(date_line)) << "page " << 2 * i + 1;
    EXPECT_EQ(longer[2 * i + 1].back(), date_line) << "page " << 2 * i + 2;
  }
}

TEST_F(ReportRunTest, DriveThatIsNotReadyLeavesTheFolder) {
  Frm_print window(shop.state);
  auto* drives = window.findChild<QComboBox*>(QStringLiteral("Drive1"));
  ASSERT_GT(drives->count(), 0);
  const int before = drives->currentIndex();
  drives->addItem(QStringLiteral("/no-such-drive"), QStringLiteral("/no-such-drive"));
  drives->setCurrentIndex(drives->count() - 1);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你选择的驱动器“/no-such-drive”未准备好。")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_EQ(window.folder(), QDir::cleanPath(shop.dir()));
  EXPECT_EQ(drives->currentIndex(), before);
}

TEST_F(ReportRunTest, PrintSettingsStoreANonBlankNameAsTyped) {
  shop.state.company_name = QStringLiteral("天河");
  Frm_打印设置 window(shop.state);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("打印设置"));
  auto* text = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
  EXPECT_EQ(text->text(), QStringLiteral("天河"));
  EXPECT_EQ(text->toolTip(), QStringLiteral("输入打印的公司名(不输入公司名为空)"));
  EXPECT_EQ(window.findChild<QCheckBox*>(QStringLiteral("Check1"))->text(),
            QStringLiteral("不打印统计金额为“0”的商品"));
  auto* save = window.findChild<QPushButton*>(QStringLiteral("Command1"));
  text->setText(QStringLiteral("   "));
  save->click();
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(shop.state.company_name, QStringLiteral("天河"));

  text->setText(QStringLiteral(" 新店 "));
  save->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("成功保存!")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);
  EXPECT_EQ(shop.state.company_name, QStringLiteral(" 新店 "));
  EXPECT_EQ(platform::read_first_line(shop.state.paths.co_file), QStringLiteral(" 新店 "));

  // The next report uses it without asking.
  dialogs.clear();
  ASSERT_TRUE(run_reports(shop.state, RunMode::Summed, folder(), {QStringLiteral("1.day")}));
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(test::report_file_lines(output())[1], QStringLiteral("  【公司名： 新店 】"));
}

}  // namespace
}  // namespace tavuro::reports
