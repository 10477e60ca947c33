// The printed receipt, compared with the layout written out by hand.

#include "cashier_window.h"

#include "cashier/list_lines.h"
#include "cashier/receipt.h"
#include "platform/line_printer.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using testing::ScriptedDialogs;

const QString kLine1 = QStringLiteral("  0001    可乐                    2.00        2.50          5.00    001       15:05:09");
const QString kLine2 = QStringLiteral("  0002    面包片                  5.00        2.50         12.50    王五      15:06:10");

const sales::SaleColumns kSale1{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"),
                                QStringLiteral("5.00"), QStringLiteral("001"),  QStringLiteral("15:05:09")};
const sales::SaleColumns kSale2{QStringLiteral("面包片"), QStringLiteral("5.00"), QStringLiteral("2.50"),
                                QStringLiteral("12.50"),  QStringLiteral("王五"), QStringLiteral("15:06:10")};

printing::ReceiptContent two_line_receipt() {
  return {QStringLiteral("单号:000123"), {{1, kSale1}, {2, kSale2}}, QStringLiteral("17.50"), QStringLiteral("小王商店"),
          QDate(2003, 5, 7)};
}

TEST(Receipt, ListLinesAreTheLayoutWrittenOutByHand) {
  EXPECT_EQ(receipt_line(1, kSale1), kLine1);
  EXPECT_EQ(receipt_line(2, kSale2), kLine2);
}

TEST(Receipt, TheTemporaryRecordGivesItsNumbersColumnsAndExactTotal) {
  ScriptedDialogs dialogs;
  TemporaryRecord record;
  const store::RecordRef first{QStringLiteral("7.day"), 1, {}};
  const store::RecordRef second{QStringLiteral("7.day"), 2, {}};
  ASSERT_TRUE(record.record(kSale1, [&] { return std::optional(first); }));
  ASSERT_TRUE(record.record(kSale2, [&] { return std::optional(second); }));
  EXPECT_FALSE(record.record(kSale1, [] { return std::optional<store::RecordRef>(); }));  // not written: not shown
  record.remove(0);
  printing::ReceiptContent receipt =
      receipt_of(record, QStringLiteral("单号:000123"), QStringLiteral("小王商店"), QDate(2003, 5, 7));
  // The remaining line keeps the number the list shows and the record it wrote.
  ASSERT_EQ(receipt.items.size(), 1);
  EXPECT_EQ(receipt.items[0].number, 2);
  EXPECT_EQ(receipt.items[0].columns.goods, QStringLiteral("面包片"));
  EXPECT_EQ(record.lines()[0].record.id, 2);
  EXPECT_EQ(record.next_number(), 3);  // the numbering goes on after a removal
  EXPECT_EQ(receipt.total, QStringLiteral("12.50"));  // the removed line's amount is taken off
  EXPECT_EQ(receipt.caption, QStringLiteral("单号:000123"));
  EXPECT_EQ(receipt.company, QStringLiteral("小王商店"));

  // A total of a long day is exact to the last digit.
  TemporaryRecord big;
  ASSERT_TRUE(big.record({QStringLiteral("金"), QStringLiteral("2.00"), QStringLiteral("61728.39"),
                          QStringLiteral("123456.78"), QStringLiteral("001"), QStringLiteral("15:05:09")},
                         [&] { return std::optional(first); }));
  EXPECT_EQ(receipt_of(big, {}, {}, {}).total, QStringLiteral("123456.78"));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(Receipt, WholeText) {
  const QStringList expected{
      QStringLiteral("    欢迎使用[Tavuro收银机]结算"),
      QStringLiteral("                                        ** 收 银 收 据 **"),
      QStringLiteral("    单号:000123"),
      QStringLiteral("    ━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━"),
      QStringLiteral("     序列号    商品名称               数量        单价         金额     操作员     时间"),
      QStringLiteral("    ────────────────────────────────────────────"),
      QStringLiteral("      0001    可乐                    2.00        2.50          5.00    001       15:05:09"),
      QStringLiteral("      0002    面包片                  5.00        2.50         12.50    王五      15:06:10"),
      QStringLiteral("    ────────────────────────────────────────────"),
      QStringLiteral("      合 计：                                                  17.50"),
      QStringLiteral("    ━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━"),
      QStringLiteral("    【日期:2003年5月7日】      收款单位：小王商店"),
  };
  const QStringList text = receipt_text(two_line_receipt());
  ASSERT_EQ(text.size(), expected.size());
  for (qsizetype i = 0; i < text.size(); ++i) EXPECT_EQ(text[i], expected[i]) << "line " << i + 1;
}

TEST(Receipt, TotalsAndCompanyEdges) {
  printing::ReceiptContent receipt = two_line_receipt();
  receipt.total = QStringLiteral("12.50");
  receipt.company.clear();
  QStringList text = receipt_text(receipt);
  EXPECT_EQ(text[9], QStringLiteral("      合 计：") + QString(50, QLatin1Char(' ')) + QStringLiteral("12.50"));
  EXPECT_TRUE(text.last().endsWith(QStringLiteral("收款单位：")));
  receipt.total = QStringLiteral("0.00");
  EXPECT_TRUE(receipt_text(receipt)[9].endsWith(QStringLiteral("      0.00")));
  receipt.items.clear();
  EXPECT_TRUE(receipt_text(receipt).isEmpty());
}

TEST(Receipt, PrintsAtSizeTwelveOrNothingForAnEmptyReceipt) {
  ScriptedDialogs dialogs;
  std::vector<platform::PrintedDocument> printed;
  platform::ScopedLinePrinterFactory factory(
      [&printed] { return std::make_unique<platform::RecordingPrinter>(printed); });
  EXPECT_TRUE(print_receipt(two_line_receipt(), printing::PrinterSetting{}));
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].font_size, 12);
  EXPECT_EQ(printed[0].lines, receipt_text(two_line_receipt()));
  EXPECT_TRUE(printed[0].ended);

  printing::ReceiptContent empty = two_line_receipt();
  empty.items.clear();
  EXPECT_TRUE(print_receipt(empty, printing::PrinterSetting{}));
  EXPECT_EQ(printed.size(), 1u);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(Receipt, ANotPrintedReceiptIsReportedOnce) {
  ScriptedDialogs dialogs;
  platform::ScopedLinePrinterFactory factory([] { return std::make_unique<testing::NoPrinter>(); });
  EXPECT_FALSE(print_receipt(two_line_receipt(), printing::PrinterSetting{}));
  ASSERT_EQ(dialogs.messages(), QStringList{receipt_not_printed_message()});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_TRUE(receipt_not_printed_message().startsWith(QStringLiteral("收据未能打印")));
}

}  // namespace
}  // namespace tavuro::cashier
