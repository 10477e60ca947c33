// The receipt on thermal paper: the layout on both papers, and no line wider than the
// paper whatever the names, amounts and number of lines.

#include "printing/receipt_layout.h"

#include "support/golden_receipt.h"
#include "textlayout/text_layout.h"

#include <gtest/gtest.h>

namespace tavuro::printing {
namespace {

namespace golden = testing::golden;

using golden::sp;
using textlayout::column_width;

sales::SaleColumns line_of(const QString& goods, const QString& quantity, const QString& price, const QString& amount,
                           const QString& op = QStringLiteral("001")) {
  return {goods, quantity, price, amount, op, QStringLiteral("15:05:09")};
}

void expect_lines(const QStringList& actual, const QStringList& expected) {
  ASSERT_EQ(actual.size(), expected.size()) << actual.join(QLatin1Char('\n')).toStdString();
  for (qsizetype i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
  }
}

void expect_within(const QStringList& lines, int columns) {
  for (const QString& line : lines) {
    EXPECT_LE(column_width(line), columns) << line.toStdString();
    EXPECT_FALSE(line.endsWith(QLatin1Char(' '))) << line.toStdString();
  }
}

// The text of the lines without their spaces: what the customer reads, in order.
QString read_out(const QStringList& lines) { return lines.join(QString()).remove(QLatin1Char(' ')); }

TEST(PaperReceipt, NarrowAndWidePaperAsWrittenOutByHand) {
  expect_lines(paper_receipt(golden::two_line_receipt(), 32), golden::narrow_lines());
  expect_lines(paper_receipt(golden::two_line_receipt(), 48), golden::wide_lines());
}

TEST(PaperReceipt, AReceiptWithoutLinesPrintsNothingAndAnEmptyCompanyEndsTheLastLine) {
  ReceiptContent receipt = golden::two_line_receipt();
  receipt.company.clear();
  EXPECT_EQ(paper_receipt(receipt, 48).last(), QStringLiteral("【日期:2003年5月7日】  收款单位："));
  EXPECT_EQ(paper_receipt(receipt, 32).last(), QStringLiteral("收款单位："));
  receipt.items.clear();
  EXPECT_TRUE(paper_receipt(receipt, 32).isEmpty());
  EXPECT_TRUE(paper_receipt(receipt, 48).isEmpty());
}

TEST(PaperReceipt, ALongGoodsNameWrapsInItsPlaceAndKeepsEveryCharacter) {
  ReceiptContent receipt = golden::two_line_receipt();
  const QString name = QStringLiteral("特级西湖龙井明前绿茶礼盒装五百克两罐另送茶杯一只");  // 48 columns
  receipt.items = {{7, line_of(name, QStringLiteral("1.00"), QStringLiteral("388.00"), QStringLiteral("388.00"))}};
  const QStringList narrow = paper_receipt(receipt, 32);
  expect_within(narrow, 32);
  // 27 columns of goods room: thirteen characters, the rest below under the name.
  EXPECT_EQ(narrow[7], QStringLiteral("0007 特级西湖龙井明前绿茶礼盒装"));
  EXPECT_EQ(narrow[8], sp(5) + QStringLiteral("五百克两罐另送茶杯一只"));
  EXPECT_EQ(narrow[9], sp(5) + QStringLiteral("1.00 × 388.00") + sp(7) + QStringLiteral("388.00"));

  const QStringList wide = paper_receipt(receipt, 48);
  expect_within(wide, 48);
  // Beside the operator and time the name has 27 columns too; they stay on its first line.
  EXPECT_EQ(wide[7], QStringLiteral("0007 特级西湖龙井明前绿茶礼盒装") + sp(2) + QStringLiteral("001") + sp(4) +
                         QStringLiteral("15:05:09"));
  EXPECT_EQ(wide[8], sp(5) + QStringLiteral("五百克两罐另送茶杯一只"));

  // A name of letters breaks at the room's edge, a Chinese character never in half.
  receipt.items = {{1, line_of(QStringLiteral("a可乐可乐可乐可乐可乐可乐可乐可乐"), QStringLiteral("1"), QStringLiteral("1"),
                               QStringLiteral("1"))}};
  const QStringList odd = paper_receipt(receipt, 32);
  EXPECT_EQ(odd[7], QStringLiteral("0001 a可乐可乐可乐可乐可乐可乐可"));  // 1 + 13 × 2 = 27
  EXPECT_EQ(odd[8], sp(5) + QStringLiteral("乐可乐"));
}

TEST(PaperReceipt, NoLineIsWiderThanThePaper) {
  const QString cjk16 = QStringLiteral("八个汉字八个汉字");
  const struct {
    const char* what;
    sales::SaleColumns line;
    QString total;
    QString company;
  } cases[] = {
      {"widest fields", line_of(cjk16, QStringLiteral("12345.67"), QStringLiteral("99999.99"), QStringLiteral("1234567.89"),
                                QStringLiteral("张三丰")),
       QStringLiteral("123456789012.34"), QStringLiteral("小王商店")},
      {"letters without a break", line_of(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnop"),
                                          QStringLiteral("1.00"), QStringLiteral("1.00"), QStringLiteral("1.00")),
       QStringLiteral("1.00"), QString()},
      {"a long company", line_of(QStringLiteral("可乐"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")),
       QStringLiteral("1.00"), QStringLiteral("广州市天河区石牌街道岗顶百货便利店有限公司第二十三分店")},
      {"an operator wider than its column",
       line_of(cjk16, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
               QStringLiteral("欧阳诸葛司马上官慕容令狐东方西门长孙宇文")),
       QStringLiteral("1.00"), QStringLiteral("小王商店")},
      {"fields wider than the paper",
       line_of(QString(40, QChar(0x6C34)), QString(40, QLatin1Char('9')), QString(40, QLatin1Char('8')),
               QString(40, QLatin1Char('7')), QString(30, QChar(0x738B))),
       QString(40, QLatin1Char('6')), QString(50, QChar(0x5E97))},
  };
  for (const auto& c : cases) {
    ReceiptContent receipt{QStringLiteral("单号:000123"), {{1, c.line}}, c.total, c.company, QDate(2003, 12, 31)};
    for (const int columns : {32, 48}) {
      SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(columns) + " columns");
      const QStringList lines = paper_receipt(receipt, columns);
      expect_within(lines, columns);
      // On wide paper the operator and time stand beside the goods: read without them.
      QString text = read_out(lines);
      if (columns == 48) text.remove(read_out({c.line.op, c.line.time}));
      for (const QString& field : {c.line.goods, c.line.quantity, c.line.price, c.line.amount, c.total, c.company}) {
        EXPECT_TRUE(text.contains(QString(field).remove(QLatin1Char(' ')))) << field.toStdString();
      }
      if (columns == 48) {
        EXPECT_TRUE(read_out(lines).contains(read_out({c.line.op, c.line.time}))) << c.line.op.toStdString();
      }
    }
  }
}

TEST(PaperReceipt, ThirtyLinesEachInTheirOrderWithinThePaper) {
  ReceiptContent receipt = golden::two_line_receipt();
  receipt.items.clear();
  for (int i = 1; i <= 30; ++i) {
    receipt.items.append({i, line_of(QStringLiteral("商品%1号特价促销装").arg(i), QStringLiteral("%1.00").arg(i),
                                     QStringLiteral("19.99"), QStringLiteral("%1.70").arg(i * 19))});
  }
  for (const int columns : {32, 48}) {
    const QStringList lines = paper_receipt(receipt, columns);
    expect_within(lines, columns);
    // Header 7 lines, two for each sale line, then 5.
    EXPECT_EQ(lines.size(), 7 + 2 * 30 + (columns == 48 ? 4 : 5));
    qsizetype at = 0;
    for (int i = 1; i <= 30; ++i) {
      const QString number = QStringLiteral("%1 ").arg(i, 4, 10, QLatin1Char('0'));
      while (at < lines.size() && !lines[at].startsWith(number)) ++at;
      ASSERT_LT(at, lines.size()) << "line " << i << " missing or out of order";
    }
  }
}

TEST(WrapToWidth, CutsAtTheWidthWithoutSplittingACharacter) {
  EXPECT_EQ(wrap_to_width(QStringLiteral("abcdef"), 4), (QStringList{QStringLiteral("abcd"), QStringLiteral("ef")}));
  EXPECT_EQ(wrap_to_width(QStringLiteral("可乐雪碧"), 3),
            (QStringList{QStringLiteral("可"), QStringLiteral("乐"), QStringLiteral("雪"), QStringLiteral("碧")}));
  // A character outside the basic plane is one character of width 2.
  EXPECT_EQ(wrap_to_width(QStringLiteral("a😀b"), 2), (QStringList{QStringLiteral("a"), QStringLiteral("😀"), QStringLiteral("b")}));
  // Spaces at a break are dropped; nothing gives one empty piece.
  EXPECT_EQ(wrap_to_width(QStringLiteral("ab  cd"), 3), (QStringList{QStringLiteral("ab"), QStringLiteral("cd")}));
  EXPECT_EQ(wrap_to_width(QString(), 5), QStringList{QString()});
  EXPECT_EQ(wrap_to_width(QStringLiteral("   "), 5), QStringList{QString()});
}

TEST(TestPage, ShowsThePrinterAndARulerAsWideAsThePaper) {
  const PrinterSetting narrow{PrinterKind::Network, QStringLiteral("127.0.0.1"), 9100, 58, true, false};
  const QStringList lines = test_page(narrow, QDateTime(QDate(2003, 5, 7), QTime(15, 5, 9)));
  expect_within(lines, 32);
  EXPECT_TRUE(lines.contains(QStringLiteral("打印机：127.0.0.1:9100")));
  EXPECT_TRUE(lines.contains(QStringLiteral("纸宽 58 mm，每行 32 列")));
  EXPECT_TRUE(lines.contains(QStringLiteral("12345678901234567890123456789012")));
  EXPECT_EQ(lines.last(), QStringLiteral("2003-05-07 15:05:09"));
}

}  // namespace
}  // namespace tavuro::printing
