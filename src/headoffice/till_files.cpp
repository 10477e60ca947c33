#include "headoffice/till_files.h"

#include "platform/text_file.h"

#include <QDir>
#include <QSysInfo>

namespace tavuro::headoffice {

namespace {

std::optional<QString> first_line(const QString& appDir, const QString& name) {
  const std::optional<QString> line = platform::read_first_line(QDir(appDir).filePath(name));
  if (!line || line->trimmed().isEmpty()) return std::nullopt;
  return line->trimmed();
}

}  // namespace

QString till_name(const QString& appDir) {
  return first_line(appDir, kTillFile).value_or(QSysInfo::machineHostName());
}

std::optional<QString> server_settings(const QString& appDir) { return first_line(appDir, kServerFile); }

}  // namespace tavuro::headoffice
