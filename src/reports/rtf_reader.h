#pragma once
// Reads RTF as written by write_rtf and by the common word processors (WordPad, Word,
// LibreOffice): groups, control words, \'hh bytes in the document's or the font's code
// page (936 is read as GB18030), \uN with its \ucN fallback skipped, \par, \line, \tab,
// font and colour tables; ignorable (\*) and other non-text destinations are skipped.

#include <QByteArray>

class QTextDocument;

namespace tavuro::reports {

// True when the bytes begin like an RTF file ("{\rtf").
bool looks_like_rtf(const QByteArray& bytes);

// Replaces the document's content with the RTF's text and formats (fonts, sizes, bold,
// italic, underline, colours, paragraph alignment). false, leaving the document as it
// was, when the bytes are not RTF.
bool read_rtf(const QByteArray& rtf, QTextDocument& document);

}  // namespace tavuro::reports
