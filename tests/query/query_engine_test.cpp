#include "query/query_engine.h"
#include "qt_printing.h"
#include "sales/labels.h"

#include "store/data_file.h"
#include "store/schemas.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace tavuro::query {
namespace {

using sales::count_label;
using sales::total_label;
using testing::SaleLine;
using testing::ScriptedDialogs;
using testing::ShopFixture;

const QString kAll = sales::kAllEntry;

QList<QueryFilter> filters(const QString& goods, const QString& op, const QString& customer) {
  return {{store::day::kGoods, goods}, {store::day::kOperator, op}, {store::day::kCustomer, customer}};
}

SaleLine sale(const QString& goods, const QString& amount, const QString& op = QStringLiteral("001"),
              const QString& customer = QStringLiteral("散客"), const QString& receipt = QStringLiteral("000001")) {
  SaleLine line;
  line.goods = goods;
  line.quantity = QStringLiteral("1.00");
  line.price = amount;
  line.amount = amount;
  line.op = op;
  line.customer = customer;
  line.receipt = receipt;
  return line;
}

class QueryEngine : public ::testing::Test {
 protected:
  QString day(const QString& name) const { return fixture.state.paths.month_folder + QLatin1Char('/') + name; }
  void add(const QString& file, const SaleLine& line) { fixture.add_sale(line, day(file)); }
  // The goods column of each result line.
  static QStringList goods_of(const QueryResult& result) {
    QStringList goods;
    for (const QString& line : result.lines) goods << line.mid(10, 16).trimmed();
    return goods;
  }

  ScriptedDialogs dialogs;
  ShopFixture fixture;
  void SetUp() override { fixture.start_up(); }
};

TEST_F(QueryEngine, AllEntriesListEveryLineOfEachFileNumberedAcrossFiles) {
  add(QStringLiteral("3.day"), sale(QStringLiteral("A"), QStringLiteral("1.00")));
  add(QStringLiteral("3.day"), sale(QStringLiteral("B"), QStringLiteral("2.50")));
  add(QStringLiteral("4.day"), sale(QStringLiteral("C"), QStringLiteral("0.25")));
  add(QStringLiteral("4.day"), sale(QStringLiteral("D"), QStringLiteral("10.00")));
  add(QStringLiteral("4.day"), sale(QStringLiteral("E"), QStringLiteral("100.00")));

  const QueryResult result =
      query_files({day(QStringLiteral("3.day")), day(QStringLiteral("4.day"))}, filters(kAll, kAll, kAll));
  ASSERT_EQ(result.count(), 5);
  EXPECT_EQ(goods_of(result), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                          QStringLiteral("D"), QStringLiteral("E")}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(result.lines[i].left(6), QStringLiteral("     ") + QString::number(i + 1));
  EXPECT_EQ(result.total.text(), QStringLiteral("113.75"));
  EXPECT_TRUE(result.skipped_files.isEmpty());
  EXPECT_EQ(total_label(result.total), QStringLiteral("合计金额：113.75元"));
}

TEST_F(QueryEngine, DayFilesComeInPlainNameOrder) {
  for (const char* name : {"2.day", "10.day", "1.day", "7.DAY"})
    add(QString::fromLatin1(name), sale(QString::fromLatin1(name), QStringLiteral("1")));
  QFile::copy(day(QStringLiteral("2.day")), day(QStringLiteral("2.bak")));
  testing::write_bytes(day(QStringLiteral("notes.txt")), "x");
  QDir(fixture.state.paths.month_folder).mkdir(QStringLiteral("folder.day"));

  const QStringList names = day_file_names(fixture.state.paths.month_folder);
  // 7.day is today's file; upper case sorts first.
  EXPECT_EQ(names, (QStringList{QStringLiteral("1.day"), QStringLiteral("10.day"), QStringLiteral("2.day"),
                                QStringLiteral("7.DAY"), QStringLiteral("7.day")}));
  EXPECT_TRUE(day_file_names(fixture.dir() + QStringLiteral("/no such folder")).isEmpty());

  const QueryResult result =
      query_files(files_in_folder(fixture.state.paths.month_folder, {QStringLiteral("10.day"), QStringLiteral("2.day")}),
                  filters(kAll, kAll, kAll));
  EXPECT_EQ(goods_of(result), (QStringList{QStringLiteral("10.day"), QStringLiteral("2.day")}));
}

TEST_F(QueryEngine, FiltersCompareTheStoredTextExactly) {
  const QString file = QStringLiteral("5.day");
  add(file, sale(QStringLiteral("Cola"), QStringLiteral("1.00"), QStringLiteral("Li"), QStringLiteral("王先生")));
  add(file, sale(QStringLiteral("cola"), QStringLiteral("2.00"), QStringLiteral("Li"), QStringLiteral("王先生")));
  add(file, sale(QStringLiteral("Cola "), QStringLiteral("4.00"), QStringLiteral("Li"), QStringLiteral("王先生")));
  add(file, sale(QStringLiteral("Cola"), QStringLiteral("8.00"), QStringLiteral("li"), QStringLiteral("王先生")));
  add(file, sale(QStringLiteral("Cola"), QStringLiteral("16.00"), QStringLiteral("Li"), QStringLiteral("散客")));
  add(file, sale(QStringLiteral("Tea"), QStringLiteral("32.00"), QStringLiteral(""), QStringLiteral("")));
  const QStringList files{day(file)};

  EXPECT_EQ(query_files(files, filters(QStringLiteral("Cola"), kAll, kAll)).total.text(), QStringLiteral("25.00"));
  EXPECT_EQ(query_files(files, filters(QStringLiteral("cola"), kAll, kAll)).total.text(), QStringLiteral("2.00"));
  EXPECT_EQ(query_files(files, filters(QStringLiteral("Cola"), QStringLiteral("Li"), kAll)).total.text(), QStringLiteral("17.00"));
  EXPECT_EQ(query_files(files, filters(QStringLiteral("Cola"), QStringLiteral("Li"), QStringLiteral("王先生"))).total.text(), QStringLiteral("1.00"));
  EXPECT_EQ(query_files(files, filters(kAll, kAll, QStringLiteral("散客"))).total.text(), QStringLiteral("16.00"));
  // An empty filter value is a value: it takes the lines whose field is empty.
  EXPECT_EQ(query_files(files, filters(kAll, QString(), kAll)).total.text(), QStringLiteral("32.00"));

  for (const char* typed : {"COLA", " Cola", "Cola  ", "Tea ", "全部", "*全部*"}) {
    const QueryResult none = query_files(files, filters(QString::fromUtf8(typed), kAll, kAll));
    EXPECT_EQ(none.count(), 0) << typed;
    EXPECT_EQ(count_label(none.count()), QStringLiteral("记录数：0"));
    EXPECT_EQ(total_label(none.total), QStringLiteral("合计金额：0.00元"));
  }
}

TEST_F(QueryEngine, AnAllEntryFilterDoesNotReadItsField) {
  // An older layout without the customer field: readable as long as the customer is not
  // asked for.
  store::Schema no_customer;
  for (const store::Field& field : store::day_schema().fields) {
    if (field.name != store::day::kCustomer) no_customer.fields << field;
  }
  store::DataFile::create(day(QStringLiteral("old.day")), no_customer);
  store::DataFile::open(day(QStringLiteral("old.day")))
      .append({{store::day::kGoods, QStringLiteral("Tea")}, {store::day::kAmount, QStringLiteral("3.00")}});
  const QStringList files{day(QStringLiteral("old.day"))};

  EXPECT_EQ(query_files(files, filters(QStringLiteral("Tea"), kAll, kAll)).count(), 1);
  const QueryResult asked = query_files(files, filters(QStringLiteral("Tea"), kAll, QStringLiteral("散客")));
  EXPECT_EQ(asked.count(), 0);
  EXPECT_EQ(asked.skipped_files, QStringList{QStringLiteral("old.day")});
}

TEST_F(QueryEngine, UnreadableFilesAreSkippedFromWhereTheyFailAndTheRunGoesOn) {
  add(QStringLiteral("1.day"), sale(QStringLiteral("A"), QStringLiteral("1.00")));
  add(QStringLiteral("2.day"), sale(QStringLiteral("B"), QStringLiteral("2.00")));
  add(QStringLiteral("2.day"), sale(QStringLiteral("bad"), QStringLiteral("abc")));
  add(QStringLiteral("2.day"), sale(QStringLiteral("never"), QStringLiteral("4.00")));
  testing::write_bytes(day(QStringLiteral("3.day")), "this is not a day file");
  store::DataFile::create(day(QStringLiteral("4.day")), store::name_list_schema());
  add(QStringLiteral("6.day"), sale(QStringLiteral("F"), QStringLiteral("8.00")));

  const QStringList files =
      files_in_folder(fixture.state.paths.month_folder,
                      {QStringLiteral("1.day"), QStringLiteral("2.day"), QStringLiteral("3.day"),
                       QStringLiteral("4.day"), QStringLiteral("5.day"), QStringLiteral("6.day")});  // 5.day is gone
  const QueryResult result = query_files(files, filters(kAll, kAll, kAll));
  EXPECT_EQ(goods_of(result), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("F")}));
  EXPECT_TRUE(result.lines[2].startsWith(QStringLiteral("     3 ")));  // no number lost to the bad line
  EXPECT_EQ(result.total.text(), QStringLiteral("11.00"));
  EXPECT_EQ(result.skipped_files, (QStringList{QStringLiteral("2.day"), QStringLiteral("3.day"), QStringLiteral("4.day"),
                                              QStringLiteral("5.day")}));
  EXPECT_EQ(skipped_files_message(result.skipped_files),
            QStringLiteral("以下文件无法读取，已跳过：2.day、3.day、4.day、5.day"));
  EXPECT_TRUE(skipped_files_message({}).isEmpty());
  // Only read: the damaged file is neither repaired nor set aside.
  EXPECT_EQ(testing::read_bytes(day(QStringLiteral("3.day"))), QByteArray("this is not a day file"));
  EXPECT_FALSE(QFile::exists(day(QStringLiteral("3.day.bad"))));
}

TEST_F(QueryEngine, ReceiptNumberIsFoundInEverySelectedFile) {
  add(QStringLiteral("8.day"), sale(QStringLiteral("A"), QStringLiteral("1.00"), QStringLiteral("001"),
                                    QStringLiteral("散客"), QStringLiteral("000123")));
  add(QStringLiteral("8.day"), sale(QStringLiteral("B"), QStringLiteral("2.00"), QStringLiteral("001"),
                                    QStringLiteral("散客"), QStringLiteral("000124")));
  add(QStringLiteral("9.day"), sale(QStringLiteral("C"), QStringLiteral("4.00"), QStringLiteral("001"),
                                    QStringLiteral("散客"), QStringLiteral("000123")));
  add(QStringLiteral("9.day"), sale(QStringLiteral("D"), QStringLiteral("8.00"), QStringLiteral("001"),
                                    QStringLiteral("散客"), QStringLiteral("123")));
  const QStringList files{day(QStringLiteral("8.day")), day(QStringLiteral("9.day"))};

  const QueryResult result = query_receipt_lines(files, QStringLiteral("000123"));
  EXPECT_EQ(goods_of(result), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
  EXPECT_EQ(result.total.text(), QStringLiteral("5.00"));
  EXPECT_EQ(goods_of(query_receipt_lines(files, QStringLiteral("123"))), QStringList{QStringLiteral("D")});
  EXPECT_EQ(query_receipt_lines(files, QStringLiteral("000125")).count(), 0);
}

TEST_F(QueryEngine, TheTotalIsExactPastSevenDigits) {
  add(QStringLiteral("1.day"), sale(QStringLiteral("A"), QStringLiteral("99999.99")));
  add(QStringLiteral("1.day"), sale(QStringLiteral("B"), QStringLiteral("0.02")));
  // A 32-bit total showed seven significant digits: 100000.00 and 123456.80.
  EXPECT_EQ(total_label(query_files({day(QStringLiteral("1.day"))}, filters(kAll, kAll, kAll)).total),
            QStringLiteral("合计金额：100000.01元"));
  add(QStringLiteral("2.day"), sale(QStringLiteral("C"), QStringLiteral("123456.78")));
  EXPECT_EQ(total_label(query_files({day(QStringLiteral("2.day"))}, filters(kAll, kAll, kAll)).total),
            QStringLiteral("合计金额：123456.78元"));
}

TEST_F(QueryEngine, EveryLineKnowsTheRecordAndFileItCameFrom) {
  add(QStringLiteral("1.day"), sale(QStringLiteral("A"), QStringLiteral("1.00")));
  add(QStringLiteral("1.day"), sale(QStringLiteral("B"), QStringLiteral("2.00")));
  add(QStringLiteral("2.day"), sale(QStringLiteral("B"), QStringLiteral("2.00")));
  const QueryResult result =
      query_files({day(QStringLiteral("1.day")), day(QStringLiteral("2.day"))}, filters(QStringLiteral("B"), kAll, kAll));
  ASSERT_EQ(result.records.size(), 2u);
  // The two lines read alike; their records do not.
  EXPECT_EQ(result.records[0].path, day(QStringLiteral("1.day")));
  EXPECT_EQ(result.records[0].id, 2);
  EXPECT_EQ(result.records[1].path, day(QStringLiteral("2.day")));
  EXPECT_EQ(result.records[1].id, 1);
  EXPECT_EQ(result.records[1].values, fixture.records(day(QStringLiteral("2.day"))).at(0).values());
}

TEST_F(QueryEngine, TheListStopsAtItsLimit) {
  for (int i = 0; i < 3; ++i) add(QStringLiteral("1.day"), sale(QStringLiteral("A"), QStringLiteral("1.00")));
  add(QStringLiteral("2.day"), sale(QStringLiteral("B"), QStringLiteral("1.00")));
  int files_read = 0;
  const QueryResult result = query_files(
      {day(QStringLiteral("1.day")), day(QStringLiteral("2.day"))}, filters(kAll, kAll, kAll),
      [&](int, int) { ++files_read; }, 2);
  EXPECT_EQ(result.count(), 2);
  EXPECT_EQ(result.total.text(), QStringLiteral("2.00"));  // the total covers the lines shown
  EXPECT_TRUE(result.truncated);
  EXPECT_EQ(files_read, 1);
  EXPECT_FALSE(query_files({day(QStringLiteral("1.day"))}, filters(kAll, kAll, kAll), {}, 3).truncated);
}

}  // namespace
}  // namespace tavuro::query
