#include "exports/cell_text.h"

namespace tavuro::exports {

QString cell_text(const Cell& cell) {
  if (const auto* text = std::get_if<QString>(&cell)) return *text;
  if (const auto* amount = std::get_if<sales::Money>(&cell)) return amount->text();
  if (const auto* date = std::get_if<QDate>(&cell)) return date->toString(QStringLiteral("yyyy-MM-dd"));
  if (const auto* whole = std::get_if<qint64>(&cell)) return QString::number(*whole);
  return {};
}

QString spreadsheet_safe_text(const QString& text) {
  if (text.isEmpty()) return text;
  const QChar first = text.front();
  const bool formula = first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-') ||
                       first == QLatin1Char('@') || first == QLatin1Char('\t') || first == QLatin1Char('\r');
  return formula ? QLatin1Char('\'') + text : text;
}

}  // namespace tavuro::exports
