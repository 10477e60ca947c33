// The exports read back as a spreadsheet program reads them: the CSV by Excel's rules,
// the .xlsx through openpyxl, each held against the day files it was made from.

#include "exports/cell_text.h"
#include "exports/export_file.h"
#include "exports/sale_rows.h"
#include "exports/xlsx_writer.h"
#include "store/schemas.h"
#include "support/export_reader.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>

namespace tavuro::exports {
namespace {

using testing::SaleLine;
using testing::ShopFixture;

class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    // A day of the month folder 2003_5 and one of 2003_12, with the texts an export must
    // bring back exactly: Chinese, a comma and quotes, a formula-looking name, an amount
    // that is no number.
    may7 = shop.file(QStringLiteral("2003_5/7.day"));
    QDir(shop.dir()).mkpath(QStringLiteral("2003_12"));
    dec24 = shop.file(QStringLiteral("2003_12/24.day"));
    shop.add_sale({QStringLiteral("可口可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"), QStringLiteral("5.00"),
                  QStringLiteral("张三"), QStringLiteral("09:01:02"), QStringLiteral("散客"), QStringLiteral("000001")},
                 may7);
    shop.add_sale({QStringLiteral("米,\"五常\""), QStringLiteral("1.50"), QStringLiteral("0.10"),
                  QStringLiteral("0.15"), QStringLiteral("001"), QStringLiteral("09:03:00"), QStringLiteral("王五"),
                  QStringLiteral("000002")},
                 may7);
    shop.add_sale({QStringLiteral("=1+2"), QStringLiteral("1.00"), QStringLiteral("0.15"), QStringLiteral("0.15"),
                  QStringLiteral("001"), QStringLiteral("10:00:00"), QStringLiteral("散客"), QStringLiteral("000003")},
                 dec24);
    shop.add_sale({QStringLiteral("手写"), QStringLiteral("1.00"), QStringLiteral("abc"), QStringLiteral("abc"),
                  QStringLiteral("001"), QStringLiteral("10:00:01"), QStringLiteral("散客"), QStringLiteral("000004")},
                 dec24);
  }

  // Every sale line of the files, in order, through a SaleLineSheet.
  ExportTarget export_days(const QString& name, const QStringList& files) {
    const ExportTarget target = export_target(shop.file(name));
    write_export(target, false, [&](TableWriter& writer) {
      SaleLineSheet sheet(writer, QStringLiteral("销售记录"));
      for (const QString& file : files) {
        sheet.set_day_file(file);
        for (const store::Record& record : shop.records(file)) sheet.add(record);
      }
      sheet.finish();
    });
    return target;
  }

  ShopFixture shop;
  QString may7;
  QString dec24;
};

QStringList header() {
  return {QStringLiteral("日期"), QStringLiteral("商品"),   QStringLiteral("数量"),     QStringLiteral("单价"),
          QStringLiteral("金额"), QStringLiteral("操作编号"), QStringLiteral("时间"), QStringLiteral("固定客户"),
          QStringLiteral("单号")};
}

TEST_F(ExportsTest, CsvHasTheMarkHeaderEveryLineAndTheExactTotal) {
  const ExportTarget target = export_days(QStringLiteral("导出.CSV"), {may7, dec24});
  EXPECT_EQ(target.format, Format::Csv);
  EXPECT_EQ(target.path, shop.file(QStringLiteral("导出.CSV")));
  const testing::CsvFile csv = testing::read_csv(target.path);
  EXPECT_TRUE(csv.byte_order_mark);
  EXPECT_TRUE(csv.crlf);
  ASSERT_EQ(csv.rows.size(), 6);
  EXPECT_EQ(csv.rows[0], header());
  EXPECT_EQ(csv.rows[1], (QStringList{QStringLiteral("2003-05-07"), QStringLiteral("可口可乐"), QStringLiteral("2.00"),
                                      QStringLiteral("2.50"), QStringLiteral("5.00"), QStringLiteral("张三"),
                                      QStringLiteral("09:01:02"), QStringLiteral("散客"), QStringLiteral("000001")}));
  // The comma and quotes come back inside their field.
  EXPECT_EQ(csv.rows[2][1], QStringLiteral("米,\"五常\""));
  EXPECT_EQ(csv.rows[3][0], QStringLiteral("2003-12-24"));
  // A name that a spreadsheet would run as a formula is kept from it.
  EXPECT_EQ(csv.rows[3][1], QStringLiteral("'=1+2"));
  EXPECT_EQ(csv.rows[4][4], QStringLiteral("abc"));
  // 5.00 + 0.15 + 0.15, the amount that is no number adding nothing.
  EXPECT_EQ(csv.rows[5], (QStringList{QStringLiteral("合计"), QStringLiteral("共 4 行"), QString(), QString(),
                                      QStringLiteral("5.30")}));
}

TEST_F(ExportsTest, XlsxReadsBackAsDatesExactNumbersAndTexts) {
  const ExportTarget target = export_days(QStringLiteral("导出"), {may7, dec24});
  EXPECT_EQ(target.format, Format::Xlsx);
  EXPECT_EQ(target.path, shop.file(QStringLiteral("导出.xlsx")));
  const QList<testing::XlsxSheet> sheets = testing::read_xlsx(target.path);
  ASSERT_EQ(sheets.size(), 1);
  EXPECT_EQ(sheets[0].name, QStringLiteral("销售记录"));
  const QList<QStringList>& rows = sheets[0].rows;
  ASSERT_EQ(rows.size(), 6);
  QStringList titles;
  for (const QString& cell : rows[0]) titles << cell.mid(2);
  EXPECT_EQ(titles, header());
  // Every line against its record: the date of its file, the texts exactly, the numbers
  // with two decimals.
  const std::vector<store::Record> records = [&] {
    std::vector<store::Record> all = shop.records(may7);
    for (const store::Record& r : shop.records(dec24)) all.push_back(r);
    return all;
  }();
  const QStringList dates{QStringLiteral("2003-05-07"), QStringLiteral("2003-05-07"), QStringLiteral("2003-12-24"),
                          QStringLiteral("2003-12-24")};
  for (size_t i = 0; i < records.size(); ++i) {
    const QStringList& row = rows[static_cast<qsizetype>(i) + 1];
    ASSERT_EQ(row.size(), 9) << i;
    EXPECT_EQ(row[0], QStringLiteral("d:") + dates[static_cast<qsizetype>(i)] + QStringLiteral("|yyyy-mm-dd"));
    EXPECT_EQ(row[1], QStringLiteral("s:") + records[i].value(store::day::kGoods));
    for (int column : {2, 3, 4}) {
      const QString stored = records[i].values()[column - 1];
      const std::optional<sales::Money> money = sales::Money::parse(stored);
      if (money) {
        // The shortest text of the double is what openpyxl's repr gives: 2, 2.5, 0.15.
        EXPECT_EQ(row[column], QStringLiteral("n:") +
                                   QString::number(money->hundredths() / 100.0, 'g', QLocale::FloatingPointShortest) +
                                   QStringLiteral("|0.00"))
            << i << " " << column;
      } else {
        EXPECT_EQ(row[column], QStringLiteral("s:") + stored);
      }
    }
    EXPECT_EQ(row[5], QStringLiteral("s:") + records[i].value(store::day::kOperator));
    EXPECT_EQ(row[8], QStringLiteral("s:") + records[i].value(store::day::kReceiptNo));
  }
  // No formula in a workbook comes from a text: the name is stored as typed.
  EXPECT_EQ(rows[3][1], QStringLiteral("s:=1+2"));
  // 0.30 as a sum of binary fractions would read back 5.300000000000001 or so.
  EXPECT_EQ(rows[5], (QStringList{QStringLiteral("s:合计"), QStringLiteral("s:共 4 行"), QString(), QString(),
                                  QStringLiteral("n:5.3|0.00")}));
}

TEST_F(ExportsTest, AmountsBeyondFifteenDigitsStayExactAsText) {
  const ExportTarget target = export_target(shop.file(QStringLiteral("大.xlsx")));
  const sales::Money large = *sales::Money::parse(QStringLiteral("12345678901234.56"));
  const sales::Money largest_number = sales::Money::from_hundredths(kLargestExactHundredths);
  write_export(target, false, [&](TableWriter& writer) {
    writer.begin_sheet(QStringLiteral("a/b[c]"), {{QStringLiteral("金额"), ColumnKind::Amount, 20}});
    writer.add_row({large});
    writer.add_row({largest_number});
  });
  const QList<testing::XlsxSheet> sheets = testing::read_xlsx(target.path);
  ASSERT_EQ(sheets.size(), 1);
  EXPECT_EQ(sheets[0].name, QStringLiteral("a_b_c_"));
  ASSERT_EQ(sheets[0].rows.size(), 3);
  EXPECT_EQ(sheets[0].rows[1], QStringList{QStringLiteral("s:12345678901234.56")});
  EXPECT_EQ(sheets[0].rows[2], QStringList{QStringLiteral("n:9999999999999.99|0.00")});
}

TEST_F(ExportsTest, AFailedOrStoppedExportLeavesTheOldFileAndNoTemporaryOne) {
  for (const QString& name : {QStringLiteral("旧.csv"), QStringLiteral("旧.xlsx")}) {
    const QString path = shop.file(name);
    testing::write_bytes(path, "old");
    const ExportTarget target = export_target(path);
    EXPECT_THROW(write_export(target, false,
                              [&](TableWriter& writer) {
                                SaleLineSheet sheet(writer, QStringLiteral("x"));
                                sheet.set_day_file(may7);
                                for (const store::Record& record : shop.records(may7)) sheet.add(record);
                                throw ExportCancelled{};
                              }),
                 ExportCancelled);
    EXPECT_EQ(testing::read_bytes(path), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp~")));
  }
  // A folder that is not there: the writer says so in words.
  const ExportTarget nowhere = export_target(shop.file(QStringLiteral("没有/x.csv")));
  EXPECT_THROW(write_export(nowhere, false, [](TableWriter&) {}), ExportError);
}

TEST(ExportCells, DayOfFileAndSafeText) {
  EXPECT_EQ(day_of_file(QStringLiteral("/shop/2026_12/8.day")), QDate(2026, 12, 8));
  EXPECT_EQ(day_of_file(QStringLiteral("/shop/2003_5/31.DAY")), QDate(2003, 5, 31));
  EXPECT_FALSE(day_of_file(QStringLiteral("/shop/2003_2/30.day")).isValid());
  EXPECT_FALSE(day_of_file(QStringLiteral("/shop/备份/8.day")).isValid());
  EXPECT_FALSE(day_of_file(QStringLiteral("/shop/2003_5/8.bak")).isValid());
  for (const char* risky : {"=A1", "+1", "-1", "@SUM(A1)", "\tx"}) {
    EXPECT_EQ(spreadsheet_safe_text(QString::fromUtf8(risky)), QLatin1Char('\'') + QString::fromUtf8(risky));
  }
  EXPECT_EQ(spreadsheet_safe_text(QStringLiteral("可乐=1")), QStringLiteral("可乐=1"));
  EXPECT_EQ(cell_text(sales::Money::from_hundredths(-5)), QStringLiteral("-0.05"));
}

}  // namespace
}  // namespace tavuro::exports
