#pragma once
// What the document window does with files and printers, without its widgets: loading a
// report or a document, saving as rich text, the date-and-time text, printing.

#include <QDateTime>
#include <QFont>
#include <QString>

class QPrinter;
class QTextDocument;

namespace tavuro::reports {

// The face of every document: the fixed-pitch CJK font, sized in points so that it prints
// at the size it shows (10.5 pt is 14 pixels on a 96 dpi screen).
QFont document_font();

// Shows plain text in the document, in the document's default font. CR LF and CR line
// ends become paragraphs; the last line end opens no empty paragraph.
void set_plain_text(QTextDocument& document, const QString& text);

enum class LoadResult { Loaded, Unreadable, NotText };

// Loads a file into the document: RTF as rich text, anything else as plain text (strict
// UTF-8 or else GB18030). A file that is neither (binary bytes) is left alone: NotText.
LoadResult load_document(const QString& path, QTextDocument& document);

// Writes the document to path as RTF, replacing the file. false when it could not.
bool save_rtf(const QString& path, const QTextDocument& document);

// "2003年5月7日  星期三  15:05:09": the date, the weekday, the time without leading zeros.
QString current_time_text(const QDateTime& when);

// Prints the document on the printer, page by page within 15 mm margins, scaled so that a
// page holds kReportPageLines lines of the document's face (so one report of a file per
// page). false when the printer could not be opened (no printer installed, an unwritable
// PDF file).
bool print_document(const QTextDocument& document, QPrinter& printer);

}  // namespace tavuro::reports
