#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

#include <gtest/gtest.h>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace tavuro::reports {
namespace {

// Every character of a document with the format it carries, for comparing documents.
struct CharStyle {
  QChar c;
  QString family;
  int half_points;
  bool bold, italic, underline;
  QRgb color;  // 0: automatic
  bool operator==(const CharStyle&) const = default;
};

std::vector<CharStyle> styles(const QTextDocument& doc) {
  std::vector<CharStyle> out;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const QFont font = f.charFormat().font().resolve(doc.defaultFont());
      const QTextCharFormat& fmt = f.charFormat();
      for (const QChar c : f.text()) {
        out.push_back({c, font.families().value(0, font.family()), qRound(font.pointSizeF() * 2), font.bold(),
                       font.italic(), font.underline(),
                       fmt.hasProperty(QTextFormat::ForegroundBrush) ? fmt.foreground().color().rgb() : 0u});
      }
    }
  }
  return out;
}

QList<Qt::Alignment> alignments(const QTextDocument& doc) {
  QList<Qt::Alignment> out;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    out << (block.blockFormat().alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify));
  }
  return out;
}

// The text with line separators and no-break spaces as they are stored.
QString text(const QTextDocument& doc) {
  QStringList blocks;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) blocks << block.text();
  return blocks.join(QLatin1Char('\n'));
}

QTextDocument* read(const QByteArray& rtf) {
  auto* doc = new QTextDocument;
  EXPECT_TRUE(read_rtf(rtf, *doc));
  return doc;
}

TEST(Rtf, WrittenDocumentReadsBackWithTextStylesAndAlignment) {
  QTextDocument doc;
  QFont base(QStringLiteral("WenQuanYi Zen Hei Mono"));
  base.setPointSizeF(10.5);
  doc.setDefaultFont(base);
  QTextCursor cursor(&doc);
  cursor.insertText(QStringLiteral("  ┌───┬──┐ 合计 （元） {braces} back\\slash\t€ 𠀀"));
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.insertText(QStringLiteral(" 粗体bold"), bold);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  cursor.insertBlock(centred);
  QTextCharFormat mixed;
  mixed.setFontItalic(true);
  mixed.setFontUnderline(true);
  mixed.setForeground(QColor(200, 10, 30));
  mixed.setFontPointSize(20);
  mixed.setFontFamilies({QStringLiteral("宋体")});
  cursor.insertText(QStringLiteral("宋体 italic"), mixed);
  cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("next line"));
  QTextBlockFormat right;
  right.setAlignment(Qt::AlignRight);
  cursor.insertBlock(right);
  QTextCharFormat blue;
  blue.setForeground(QColor(Qt::blue));
  cursor.insertText(QStringLiteral("右 right"), blue);
  cursor.insertBlock(QTextBlockFormat());  // an empty last paragraph is kept

  const QByteArray rtf = write_rtf(doc);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
  for (char byte : rtf) ASSERT_TRUE(static_cast<unsigned char>(byte) < 0x80) << "RTF is 7-bit text";

  std::unique_ptr<QTextDocument> back(read(rtf));
  back->setDefaultFont(base);
  EXPECT_EQ(text(*back), text(doc));
  EXPECT_EQ(back->blockCount(), 4);
  const auto want = styles(doc);
  const auto got = styles(*back);
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_TRUE(got[i] == want[i]) << i << " " << QString(want[i].c).toStdString() << " family "
                                   << got[i].family.toStdString() << "/" << want[i].family.toStdString() << " size "
                                   << got[i].half_points << "/" << want[i].half_points << " b" << got[i].bold
                                   << want[i].bold << " c" << got[i].color << "/" << want[i].color;
  }
  EXPECT_EQ(alignments(*back), (QList<Qt::Alignment>{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft}));
  // Written again, the document gives the same bytes.
  EXPECT_EQ(write_rtf(*back).toStdString(), rtf.toStdString());
}

TEST(Rtf, CjkIsWrittenAsUnicodeWithGbkBytesForOlderReaders) {
  QTextDocument doc;
  doc.setPlainText(QStringLiteral("可（"));
  const QByteArray rtf = write_rtf(doc);
  // 可 U+53EF = 21487, GBK BF C9; （ U+FF08 is negative as a signed 16-bit number, GBK A3 A8.
  EXPECT_TRUE(rtf.contains("\\uc2\\u21487\\'bf\\'c9\\u-248\\'a3\\'a8")) << rtf.constData();
  // A reader that skips \u reads the bytes instead.
  QByteArray ansi_only = rtf;
  ansi_only.replace("\\u21487", "").replace("\\u-248", "");
  std::unique_ptr<QTextDocument> back(read(ansi_only));
  EXPECT_EQ(text(*back), QStringLiteral("可（"));
}

TEST(Rtf, ReadsWordPadStyleRtfInCodePage936) {
  // As WordPad on a Chinese system writes it: GBK bytes as \'hh, a CJK font name in GBK,
  // a stylesheet and a generator that are not text, a closing \par.
  const QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fprq2\\fcharset134 "
      "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
      "{\\stylesheet{ Normal;}}{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 "
      "\\'c4\\'e3\\'ba\\'c3 \\b\\'b4\\'d6\\b0  \\cf1\\i\\f1 red\\cf0\\i0\\par\r\n"
      "\\pard\\qc\\ul centre\\ulnone\\tab x\\line y\\par\r\n}";
  std::unique_ptr<QTextDocument> doc(read(rtf));
  EXPECT_EQ(text(*doc), QStringLiteral("你好 粗 red\ncentre\tx") + QChar(QChar::LineSeparator) + QStringLiteral("y"));
  const auto s = styles(*doc);
  ASSERT_EQ(s.size(), 18u);
  EXPECT_EQ(s[0].family, QStringLiteral("宋体"));
  EXPECT_EQ(s[0].half_points, 18);
  EXPECT_FALSE(s[0].bold);
  EXPECT_TRUE(s[3].bold);
  EXPECT_EQ(s[5].family, QStringLiteral("Arial"));
  EXPECT_EQ(s[5].color, QColor(255, 0, 0).rgb());
  EXPECT_TRUE(s[5].italic);
  EXPECT_TRUE(s[8].underline);
  EXPECT_FALSE(s[14].underline);
  EXPECT_EQ(alignments(*doc), (QList<Qt::Alignment>{Qt::AlignLeft, Qt::AlignHCenter}));
}

TEST(Rtf, UnicodeSkipCountsGroupsAndIgnorableDestinations) {
  const QByteArray rtf =
      "{\\rtf1\\ansi{\\fonttbl\\f0\\fnil Courier;\\f1\\fnil\\fcharset136 MingLiU;}"
      "{\\info{\\title secret}{\\author nobody}}"
      "\\uc2 A\\u21487\\'bf\\'c9 B{\\uc0\\u20320}C\\u22909??D"  // \uc2 skips two, \uc0 none
      "{\\*\\unknowndest hidden {\\b text}}"
      "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}"
      "\\uc1\\f1 \\'a7\\'41\\f0 \\u-3913?"  // Big5 in a charset-136 font; U+F0B7 as negative
      "\\{\\}\\\\ \\emdash\\~end}";
  std::unique_ptr<QTextDocument> doc(read(rtf));
  EXPECT_EQ(text(*doc), QStringLiteral("A可 B你C好Dlink你") + QChar(0xF0B7) + QStringLiteral("{}\\ —") + QChar(0x00A0) +
                            QStringLiteral("end"));
}

TEST(Rtf, NotRtfIsRefusedAndLeavesTheDocument) {
  QTextDocument doc;
  doc.setPlainText(QStringLiteral("keep"));
  EXPECT_FALSE(read_rtf("plain text", doc));
  EXPECT_FALSE(looks_like_rtf("{\\rt"));
  EXPECT_EQ(text(doc), QStringLiteral("keep"));
  // Truncated RTF still gives what it holds.
  EXPECT_TRUE(read_rtf("{\\rtf1 half {\\b way", doc));
  EXPECT_EQ(text(doc), QStringLiteral("half way"));
}

}  // namespace
}  // namespace tavuro::reports
