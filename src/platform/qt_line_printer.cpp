#include "platform/qt_line_printer.h"

#include "platform/fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tavuro::platform {

bool QtLinePrinter::end_doc() {
  const QStringList lines = std::exchange(lines_, {});
  if (QPrinterInfo::defaultPrinter().isNull()) return false;
  QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QFont font = fixed_font();
  font.setPointSize(font_size_);
  painter.setFont(font);
  const QFontMetrics metrics(font, &printer);
  const int lineHeight = metrics.lineSpacing();
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  int y = metrics.ascent();
  for (const QString& line : lines) {
    if (y + metrics.descent() > page.height()) {
      if (!printer.newPage()) return false;
      y = metrics.ascent();
    }
    painter.drawText(0, y, line);
    y += lineHeight;
  }
  return painter.end();
}

}  // namespace tavuro::platform
