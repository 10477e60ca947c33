// The ESC/POS job: the command bytes around the text, and text that can never be taken
// for a command.

#include "printing/escpos.h"

#include "support/golden_receipt.h"
#include "textlayout/text_layout.h"

#include <gtest/gtest.h>
#include <QStringDecoder>

namespace tavuro::printing {
namespace {

namespace golden = testing::golden;

TEST(EscPosJob, IsTheGoldenJobWithAndWithoutCutAndDrawer) {
  for (const bool cut : {false, true}) {
    for (const bool drawer : {false, true}) {
      for (const QStringList& lines : {golden::narrow_lines(), golden::wide_lines()}) {
        EXPECT_EQ(escpos::job(lines, cut, drawer), golden::job_of(lines, cut, drawer)) << cut << drawer;
      }
    }
  }
  // The tail alone, as the printer's manual spells it.
  EXPECT_EQ(escpos::job({}, true, true), QByteArray::fromHex("1b401c26" "1b6403" "1d564200" "1b700019fa"));
  EXPECT_EQ(escpos::status_query(), QByteArray::fromHex("100401"));
}

TEST(EscPosText, ControlCharactersNeverReachThePrinterAndWidthsStay) {
  // ESC @ in a name would reset the printer in the middle of the receipt, GS V cut it.
  const QString hostile = QStringLiteral("可乐\x1b@\x1dV\x01\t\x7f") + QChar(0x0085) + QStringLiteral("茶");
  const QString sent = escpos::printable(hostile);
  EXPECT_EQ(sent, QStringLiteral("可乐？@？V？？？？茶"));
  EXPECT_EQ(textlayout::column_width(sent), textlayout::column_width(hostile));
  const QByteArray bytes = escpos::text_line(hostile);
  ASSERT_TRUE(bytes.endsWith('\n'));
  for (qsizetype i = 0; i + 1 < bytes.size(); ++i) EXPECT_GE(static_cast<unsigned char>(bytes[i]), 0x20) << i;
}

TEST(EscPosText, IsGb18030WithTheFullWidthYenAndNothingUnencodable) {
  const QString text = QStringLiteral("合计 ¥12.50 ─━ × 😀 ") + QChar(0xD800) + QStringLiteral("é");
  const QString sent = escpos::printable(text);
  EXPECT_EQ(sent, QStringLiteral("合计 ￥12.50 ─━ × 😀 ？é"));
  EXPECT_EQ(textlayout::column_width(sent), textlayout::column_width(text));
  const QByteArray bytes = escpos::text_line(text);
  EXPECT_TRUE(bytes.contains(QByteArrayLiteral("\xa3\xa4")));         // ￥
  EXPECT_FALSE(bytes.contains(QByteArrayLiteral("\x81\x30\x84\x36")));  // ¥ never goes
  EXPECT_TRUE(bytes.contains(QByteArrayLiteral("\xa9\xa4\xa9\xa5")));  // ─━
  QStringDecoder gb("GB18030");
  const QString back = gb.decode(bytes);
  EXPECT_FALSE(gb.hasError());
  EXPECT_EQ(back, sent + QLatin1Char('\n'));
}

}  // namespace
}  // namespace tavuro::printing
