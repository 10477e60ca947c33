// 导出 in the query window: the whole result of the last query, also past the 32,767
// lines the result list holds, each line with the date of its day file.

#include "query/frm_query.h"

#include "store/schemas.h"
#include "support/export_reader.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "support/waiting.h"

#include <gtest/gtest.h>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace tavuro::query {
namespace {

using testing::ScriptedDialogs;
using testing::ShopFixture;

class QueryExportWindow : public ::testing::Test {
 protected:
  void SetUp() override { shop.start_up(); }

  std::unique_ptr<Frm_查询> open() {
    auto window = std::make_unique<Frm_查询>(shop.state);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get(), static_cast<int>(testing::kPatience.count())));
    window->set_dir2_path(shop.state.paths.month_folder);
    return window;
  }
  static void select(Frm_查询& window, const QStringList& names) {
    auto* list2 = window.findChild<QListWidget*>(QStringLiteral("List2"));
    for (const QString& name : names) list2->findItems(name, Qt::MatchExactly).front()->setSelected(true);
  }
  static void click(Frm_查询& window, const char* name) {
    QTest::mouseClick(window.findChild<QPushButton*>(QString::fromUtf8(name)), Qt::LeftButton);
  }
  QString day(const char* name) const { return shop.state.paths.month_folder + QLatin1Char('/') + QString::fromUtf8(name); }

  ScriptedDialogs dialogs;
  ShopFixture shop;
};

TEST_F(QueryExportWindow, TheWholeResultGoesOutPastTheListsLimit) {
  // One day of 32,800 lines, written in one change.
  constexpr int kLines = kMaxResultLines + 33;
  std::vector<store::FieldValues> rows;
  for (int i = 0; i < kLines; ++i) {
    rows.push_back({{store::day::kGoods, i % 2 == 0 ? QStringLiteral("可乐") : QStringLiteral("面包")},
                    {store::day::kQuantity, QStringLiteral("1.00")},
                    {store::day::kPrice, QStringLiteral("0.01")},
                    {store::day::kAmount, QStringLiteral("0.01")},
                    {store::day::kOperator, QStringLiteral("001")},
                    {store::day::kTime, QStringLiteral("10:00:00")},
                    {store::day::kCustomer, QStringLiteral("散客")},
                    {store::day::kReceiptNo, QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'))}});
  }
  store::DataFile::create(day("9.day"), store::day_schema());
  store::DataFile::open_for_change(day("9.day"), store::day_schema()).append_all(rows);

  const auto window = open();
  click(*window, "Com_导出");  // nothing asked yet
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("还没有查询结果，请先查询再导出。")});
  dialogs.clear();

  select(*window, {QStringLiteral("9.day")});
  click(*window, "Command1");
  EXPECT_EQ(window->findChild<QListWidget*>(QStringLiteral("List1"))->count(), kMaxResultLines);
  dialogs.clear();

  const QString path = shop.file(QStringLiteral("查询.csv"));
  dialogs.answer_file(path);
  click(*window, "Com_导出");
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("导出完成，共 32800 行。\n文件：") + path});
  const testing::CsvFile csv = testing::read_csv(path);
  ASSERT_EQ(csv.rows.size(), kLines + 2);
  for (int i = 0; i < kLines; ++i) {
    const QStringList& row = csv.rows[i + 1];
    ASSERT_EQ(row[1], rows[static_cast<size_t>(i)][0].second) << i;
    ASSERT_EQ(row[8], rows[static_cast<size_t>(i)][7].second) << i;
  }
  EXPECT_EQ(csv.rows.back()[4], QStringLiteral("328.00"));
  EXPECT_EQ(csv.rows[1][0], QStringLiteral("2003-05-09"));
}

TEST_F(QueryExportWindow, TheLastQueryInTheOrderOfItsFilesAsAWorkbook) {
  shop.add_sale({QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("3.50"), QStringLiteral("7.00"),
                QStringLiteral("张三"), QStringLiteral("09:15:00"), QStringLiteral("王先生"), QStringLiteral("000101")},
               day("2.day"));
  shop.add_sale({QStringLiteral("面包"), QStringLiteral("1.00"), QStringLiteral("5.00"), QStringLiteral("5.00"),
                QStringLiteral("李四"), QStringLiteral("09:20:00"), QStringLiteral("散客"), QStringLiteral("000123")},
               day("2.day"));
  shop.add_sale({QStringLiteral("牛奶"), QStringLiteral("1.00"), QStringLiteral("4.20"), QStringLiteral("4.20"),
                QStringLiteral("张三"), QStringLiteral("10:01:02"), QStringLiteral("王先生"), QStringLiteral("000123")},
               day("10.day"));
  const auto window = open();
  select(*window, {QStringLiteral("2.day"), QStringLiteral("10.day")});
  // The receipt-number query is a query too.
  dialogs.answer_input(QStringLiteral("000123"));
  bool found = false;
  window->query_receipt_no(found);
  ASSERT_TRUE(found);
  dialogs.clear();

  const QString path = shop.file(QStringLiteral("单号"));
  dialogs.answer_file(path);
  click(*window, "Com_导出");
  const QList<testing::XlsxSheet> sheets = testing::read_xlsx(path + QStringLiteral(".xlsx"));
  ASSERT_EQ(sheets.size(), 1);
  EXPECT_EQ(sheets[0].name, QStringLiteral("查询结果"));
  ASSERT_EQ(sheets[0].rows.size(), 4);
  EXPECT_EQ(sheets[0].rows[1],
            (QStringList{QStringLiteral("d:2003-05-10|yyyy-mm-dd"), QStringLiteral("s:牛奶"), QStringLiteral("n:1|0.00"),
                         QStringLiteral("n:4.2|0.00"), QStringLiteral("n:4.2|0.00"), QStringLiteral("s:张三"),
                         QStringLiteral("s:10:01:02"), QStringLiteral("s:王先生"), QStringLiteral("s:000123")}));
  EXPECT_EQ(sheets[0].rows[2][0], QStringLiteral("d:2003-05-02|yyyy-mm-dd"));
  EXPECT_EQ(sheets[0].rows[2][1], QStringLiteral("s:面包"));
  EXPECT_EQ(sheets[0].rows[3], (QStringList{QStringLiteral("s:合计"), QStringLiteral("s:共 2 行"), QString(), QString(),
                                            QStringLiteral("n:9.2|0.00")}));
}

}  // namespace
}  // namespace tavuro::query
