#pragma once
// Rich text on disk: a document written as RTF, the format that word processors (WordPad,
// Word, LibreOffice) read as a ".doc" of this kind.

#include <QByteArray>

class QTextDocument;

namespace tavuro::reports {

// The document as RTF: a font table (CJK names included), a colour table, and per
// paragraph its alignment and per run its font, size, bold, italic, underline and colour.
// Every character outside ASCII is written as \uN, followed by its GB18030 bytes for
// readers that do not know \u.
QByteArray write_rtf(const QTextDocument& document);

}  // namespace tavuro::reports
