// The query and report windows over the head office's server: the same lines, totals and
// report texts as over the tills' own files, over all tills or one; a server that cannot
// be reached is said so and the local choice goes on working.

#include "headoffice/server_schema.h"
#include "headoffice/shipper.h"
#include "pg_server.h"
#include "platform/text_file.h"
#include "query/frm_query.h"
#include "query/query_engine.h"
#include "reports/report_runs.h"
#include "reports/source_choice.h"
#include "sales/labels.h"
#include "store/schemas.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "till_folder.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tavuro::headoffice::test {
namespace {

QStringList texts(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

template <typename T>
T* child(QWidget* window, const char* name) {
  return window->findChild<T*>(QString::fromUtf8(name));
}

class ServerSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pg_.problem().isEmpty()) << pg_.problem().toStdString();
    ASSERT_TRUE(pg_.create_database(QStringLiteral("shop")));
    shop_.start_up();
    shop_.add_goods(QStringLiteral("苹果"), QStringLiteral("2.50"));
    shop_.add_goods(QStringLiteral("香蕉"), QStringLiteral("1.20"));
    shop_.add_operator(QStringLiteral("001"));
    shop_.add_operator(QStringLiteral("002"));
    shop_.state.company_name = QStringLiteral("小店");
    till_a_.write_identity(QStringLiteral("一号台"), pg_.settings(QStringLiteral("shop")));
    int n = 0;
    for (const TillFolder* till : {&till_a_, &till_b_}) {
      for (int day = 1; day <= 2; ++day) {
        for (int i = 0; i < 6; ++i, ++n) {
          till->record(day, i % 2 ? QStringLiteral("苹果") : QStringLiteral("香蕉"), QStringLiteral("%1.%2").arg(n).arg(n % 7),
                       i % 3 ? QStringLiteral("001") : QStringLiteral("002"));
        }
      }
    }
    PgConnection server = PgConnection::open(pg_.settings(QStringLiteral("shop")));
    ensure_schema(server);
    Shipper(server, QStringLiteral("一号台")).ship_all(till_a_.dir());
    Shipper(server, QStringLiteral("二号台")).ship_all(till_b_.dir());
  }

  // The local query of the given tills' day files 1 and 2, one after the other.
  static query::QueryResult local_query(const std::vector<const TillFolder*>& tills, const QString& goods) {
    QStringList files;
    for (const TillFolder* till : tills) files << till->day_file(1) << till->day_file(2);
    return query::query_files(files, {{store::day::kGoods, goods}, {store::day::kOperator, sales::kAllEntry},
                                      {store::day::kCustomer, sales::kAllEntry}});
  }

  testing::ScriptedDialogs dialogs_;
  PgServer pg_;
  testing::ShopFixture shop_;
  TillFolder till_a_{shop_.dir()};
  QTemporaryDir dir_b_;
  TillFolder till_b_{dir_b_.path()};
};

TEST_F(ServerSourceTest, TheQueryWindowListsEveryTillsLinesFromTheServer) {
  query::Frm_查询 window(shop_.state);
  window.show();
  window.set_dir2_path(till_a_.month_folder());
  auto* list2 = child<QListWidget>(&window, "List2");
  ASSERT_TRUE(window.source_choice()->isVisible());
  window.source_choice()->server_button()->click();
  ASSERT_TRUE(window.source_choice()->on_server()) << dialogs_.messages().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(texts(list2), (QStringList{QStringLiteral("1.day"), QStringLiteral("2.day")}));
  auto* tills = window.source_choice()->till_box();
  EXPECT_EQ(tills->count(), 3);  // every till, then each by name

  list2->selectAll();
  child<QComboBox>(&window, "Co_查商品")->setEditText(QStringLiteral("苹果"));
  child<QPushButton>(&window, "Command1")->click();
  const query::QueryResult both = local_query({&till_a_, &till_b_}, QStringLiteral("苹果"));
  ASSERT_EQ(both.count(), 12);
  EXPECT_EQ(texts(child<QListWidget>(&window, "List1")), both.lines);
  EXPECT_EQ(window.query_total(), both.total);
  EXPECT_EQ(window.result_records()[0].path, QStringLiteral("一号台：2026_12/1.day"));

  // One till: its lines only, numbered from 1.
  tills->setCurrentIndex(tills->findText(QStringLiteral("二号台")));
  Q_EMIT tills->activated(tills->currentIndex());
  list2->selectAll();
  child<QPushButton>(&window, "Command1")->click();
  const query::QueryResult b = local_query({&till_b_}, QStringLiteral("苹果"));
  EXPECT_EQ(texts(child<QListWidget>(&window, "List1")), b.lines);
  EXPECT_EQ(window.query_total(), b.total);
  // The export reads local files: a server's result is not exported as if it were local.
  child<QPushButton>(&window, "Com_导出")->click();
  EXPECT_EQ(dialogs_.last_message().text, QStringLiteral("总店服务器上的查询结果不能导出，请选本机查询后再导出。"));

  // Back on this till's own files.
  window.source_choice()->local_button()->click();
  list2->selectAll();
  child<QPushButton>(&window, "Command1")->click();
  EXPECT_EQ(texts(child<QListWidget>(&window, "List1")), local_query({&till_a_}, QStringLiteral("苹果")).lines);
}

TEST_F(ServerSourceTest, TheServersReportsReadAsTheTillsOwn) {
  PgConnection server = PgConnection::open(pg_.settings(QStringLiteral("shop")));
  // An amount that is no number makes its file count with none of its figures, on the
  // server as on the till.
  till_b_.record(2, QStringLiteral("苹果"), QStringLiteral("十元"));
  Shipper(server, QStringLiteral("二号台")).ship_all(till_b_.dir());
  const QStringList files{QStringLiteral("1.day"), QStringLiteral("2.day")};
  const auto report = [&](const TillFolder* local, reports::RunMode mode, const QString& till) {
    const bool written = local ? reports::run_reports(shop_.state, mode, local->month_folder(), files)
                               : reports::run_server_reports(shop_.state, mode, till_a_.month_folder(), files, server, till);
    EXPECT_TRUE(written);
    return platform::read_text_file(shop_.state.current_report_file).value_or(QString());
  };
  for (const reports::RunMode mode : {reports::RunMode::Single, reports::RunMode::Summed, reports::RunMode::MonthEnd}) {
    const QString local = report(&till_a_, mode, {});
    EXPECT_TRUE(local.contains(QStringLiteral("苹果")));
    EXPECT_EQ(report(nullptr, mode, QStringLiteral("一号台")), local);
    EXPECT_EQ(report(nullptr, mode, QStringLiteral("二号台")), report(&till_b_, mode, {}));
  }
  // Over every till the goods' sums are those of both tills' files that count.
  const QString all = report(nullptr, reports::RunMode::MonthEnd, {});
  EXPECT_NE(all, report(nullptr, reports::RunMode::MonthEnd, QStringLiteral("一号台")));
  sales::Money apples;
  for (const auto& [key, values] : till_a_.records()) {
    if (values[0] == QStringLiteral("苹果")) apples = apples.added(sales::amount_or_zero(values[3]));
  }
  for (const auto& [key, values] : till_b_.records()) {
    if (values[0] == QStringLiteral("苹果") && key.first == QStringLiteral("1.day")) {
      apples = apples.added(sales::amount_or_zero(values[3]));
    }
  }
  EXPECT_TRUE(all.contains(apples.text())) << apples.text().toStdString();
}

TEST(ServerSource, AnUnreachableServerIsSaidSoAndTheLocalChoiceStillWorks) {
  testing::ScriptedDialogs dialogs;
  testing::ShopFixture shop;
  shop.start_up();
  query::Frm_查询 without_server(shop.state);
  EXPECT_TRUE(without_server.source_choice()->isHidden());  // no server.dat: nothing changes

  // A port no one listens on.
  PgServer pg;
  ASSERT_TRUE(pg.problem().isEmpty());
  ASSERT_TRUE(pg.stop());
  const TillFolder till(shop.dir());
  till.write_identity(QStringLiteral("一号台"), pg.settings());
  till.record(1, QStringLiteral("苹果"), QStringLiteral("3.00"));
  query::Frm_查询 window(shop.state);
  window.show();
  window.set_dir2_path(till.month_folder());
  window.source_choice()->server_button()->click();
  EXPECT_FALSE(window.source_choice()->on_server());
  EXPECT_TRUE(window.source_choice()->local_button()->isChecked());
  EXPECT_TRUE(dialogs.last_message().text.startsWith(QStringLiteral("连接不上总店服务器"))) << dialogs.last_message().text.toStdString();
  auto* list2 = child<QListWidget>(&window, "List2");
  EXPECT_EQ(texts(list2), QStringList{QStringLiteral("1.day")});
  list2->selectAll();
  child<QPushButton>(&window, "Command1")->click();
  EXPECT_EQ(child<QListWidget>(&window, "List1")->count(), 1);
}

}  // namespace
}  // namespace tavuro::headoffice::test
