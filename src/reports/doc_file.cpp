#include "reports/doc_file.h"

#include "platform/file_ops.h"
#include "platform/fonts.h"
#include "platform/text_file.h"
#include "reports/report_layout.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include <memory>

namespace tavuro::reports {

QFont document_font() {
  QFont font = platform::fixed_font(14);
  font.setPointSizeF(10.5);
  return font;
}

void set_plain_text(QTextDocument& document, const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (lines.endsWith(QLatin1Char('\n'))) lines.chop(1);
  document.setPlainText(lines);
}

LoadResult load_document(const QString& path, QTextDocument& document) {
  bool ok = false;
  const QByteArray bytes = platform::read_whole_file(path, &ok);
  if (!ok) return LoadResult::Unreadable;
  if (read_rtf(bytes, document)) return LoadResult::Loaded;
  if (bytes.contains('\0')) return LoadResult::NotText;
  set_plain_text(document, platform::from_file_bytes(bytes));
  return LoadResult::Loaded;
}

bool save_rtf(const QString& path, const QTextDocument& document) {
  return platform::write_file_atomic(path, write_rtf(document));
}

QString current_time_text(const QDateTime& when) {
  const QDate date = when.date();
  const QString weekday = QLocale(QLocale::Chinese, QLocale::China).dayName(date.dayOfWeek(), QLocale::LongFormat);
  return QStringLiteral("%1年%2月%3日  %4  %5")
      .arg(date.year())
      .arg(date.month())
      .arg(date.day())
      .arg(weekday, when.time().toString(QStringLiteral("H:mm:ss")));
}

namespace {

// The height of one line of plain text in font, laid out for the printer.
qreal line_height(const QFont& font, QPrinter& printer) {
  QTextDocument probe;
  probe.documentLayout()->setPaintDevice(&printer);
  probe.setDefaultFont(font);
  probe.setDocumentMargin(0);
  QString lines;
  for (int i = 1; i < kReportPageLines; ++i) lines += QStringLiteral("可│\n");
  probe.setPlainText(lines + QStringLiteral("可│"));
  return probe.documentLayout()->documentSize().height() / kReportPageLines;
}

}  // namespace

bool print_document(const QTextDocument& document, QPrinter& printer) {
  printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  std::unique_ptr<QTextDocument> copy(document.clone());
  copy->documentLayout()->setPaintDevice(&printer);
  copy->setDocumentMargin(0);
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  // The print is scaled so that a page holds a report page of lines in the document's
  // face, and a little room, but never a line more.
  const qreal scale = page.height() / (line_height(copy->defaultFont(), printer) * (kReportPageLines + 0.5));
  const QSizeF laid(page.width() / scale, page.height() / scale);
  copy->setPageSize(laid);
  const int pages = copy->pageCount();
  for (int i = 0; i < pages; ++i) {
    if (i > 0 && !printer.newPage()) return false;
    painter.save();
    painter.scale(scale, scale);
    painter.translate(0, -i * laid.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, i * laid.height(), laid.width(), laid.height());
    copy->documentLayout()->draw(&painter, context);
    painter.restore();
  }
  return painter.end();
}

}  // namespace tavuro::reports
