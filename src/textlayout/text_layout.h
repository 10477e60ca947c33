#pragma once
// Fixed-width text: every list line, receipt and report is plain text in a fixed-pitch
// font where a CJK character takes the room of two ASCII characters. Widths are display
// widths, and every input limit of the program is a display width.

#include <QString>

namespace tavuro::textlayout {

inline const QString kLeft = QStringLiteral("左");   // spaces in front: right-aligned
inline const QString kRight = QStringLiteral("右");  // spaces behind: left-aligned

// Removes space characters (U+0020) at both ends; other white space stays.
QString trim_spaces(const QString& text);

// Display width: printable ASCII except the double quote counts 1, everything else 2.
// The caller's text is replaced by its trimmed form. Saturates at 32767.
qint16 text_width(QString& text);
inline qint16 text_width(QString&& text) { return text_width(text); }

// The display width of the text as it stands, spaces at its ends included: the room a
// line of a receipt or report takes on the paper.
qsizetype column_width(const QString& text);

// Pads the trimmed text with spaces to the display width: side 左 puts them in front,
// 右 behind, any other side none. A text wider than width shows "数据出错![add_not]" and
// gives an empty text. The caller's text is trimmed.
QString pad_text(QString& text, const QString& side, int width);
inline QString pad_text(QString&& text, const QString& side, int width) {
  return pad_text(text, side, width);
}

// Integer part plus exactly two decimals, the decimals cut, not rounded: 12.349 gives
// 12.34, a blank text 0.00. The integer part is the floor of the number the text is (0 for
// a text that is no number), exact however long. A non-blank caller's text is replaced by
// its trimmed form.
QString money_text(QString& text);
inline QString money_text(QString&& text) { return money_text(text); }

}  // namespace tavuro::textlayout
