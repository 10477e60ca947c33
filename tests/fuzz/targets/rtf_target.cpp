#include "fuzz_support.h"
#include "fuzz_targets.h"

#include "reports/doc_file.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

#include <QTextDocument>

namespace tavuro::fuzz {

namespace {

// The text of a document as it is saved: control characters other than the tab and the
// line end, and embedded objects, have no text in RTF and are left out.
QString saved_text(const QTextDocument& document) {
  QString text = document.toPlainText();
  text.removeIf([](QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n') || u == 0x7F || u == QChar::ObjectReplacementCharacter;
  });
  return text;
}

// What survives a save as RTF and a load: the text of the document.
void require_round_trip(const QTextDocument& document, const char* what) {
  const QByteArray written = reports::write_rtf(document);
  require(reports::looks_like_rtf(written), "what the program writes is RTF", document.toPlainText());
  QTextDocument back;
  require(reports::read_rtf(written, back), "what the program writes reads back", document.toPlainText());
  require(back.toPlainText() == saved_text(document), what,
          document.toPlainText() + QStringLiteral("\nread back: ") + back.toPlainText() + QStringLiteral("\nas RTF: ") +
              QString::fromLatin1(written));
}

}  // namespace

int rtf_reader(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  // Any bytes as an RTF file: read or refused, never a crash; a refused file leaves the
  // document as it was; whatever was read is saved and loaded again unchanged.
  QTextDocument document;
  document.setPlainText(QStringLiteral("before"));
  const bool read = reports::read_rtf(bytes, document);
  require(read == reports::looks_like_rtf(bytes), "RTF is read, anything else refused", QString::fromLatin1(bytes));
  if (!read) {
    require(document.toPlainText() == QStringLiteral("before"), "a refused file changes nothing",
            QString::fromLatin1(bytes));
  } else {
    require_round_trip(document, "a document read from RTF is saved and read back unchanged");
  }

  // The same bytes as text typed into the document window and saved as a .DOC.
  QTextDocument typed;
  reports::set_plain_text(typed, QString::fromUtf8(bytes));
  require_round_trip(typed, "typed text is saved and read back unchanged");
  return 0;
}

}  // namespace tavuro::fuzz
