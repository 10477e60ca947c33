#include "platform/dialogs.h"

#include "platform/qt_dialogs.h"

#include <QStringList>

namespace tavuro::platform {

namespace {
Dialogs* current = nullptr;
}

Dialogs& dialogs() {
  if (current == nullptr) {
    static QtDialogs real;
    current = &real;
  }
  return *current;
}

ScopedDialogs::ScopedDialogs(Dialogs& replacement) : previous_(current) { current = &replacement; }

ScopedDialogs::~ScopedDialogs() { current = previous_; }

QString qt_file_filter(const QString& classic_filter) {
  const QStringList parts = classic_filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    // Linux file names are case-sensitive: *.DAY offers 7.day too.
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
        if (!patterns.contains(variant)) patterns << variant;
      }
    }
    // Qt reads the patterns from the parentheses of the description; show the
    // description as written and let the patterns follow it.
    const qsizetype open = description.indexOf(QLatin1Char('('));
    if (open >= 0) description = description.left(open).trimmed();
    filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  if (filters.isEmpty()) return classic_filter;
  return filters.join(QStringLiteral(";;"));
}

}  // namespace tavuro::platform
