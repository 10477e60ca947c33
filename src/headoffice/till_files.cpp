#include "headoffice/till_files.h"

#include "platform/text_file.h"

#include <QDir>
#include <QSysInfo>

namespace tavuro::headoffice {

namespace {

std::optional<QString> first_line(const QString& app_dir, const QString& name) {
  const std::optional<QString> line = platform::read_first_line(QDir(app_dir).filePath(name));
  if (!line || line->trimmed().isEmpty()) return std::nullopt;
  return line->trimmed();
}

}  // namespace

QString till_name(const QString& app_dir) {
  return first_line(app_dir, kTillFile).value_or(QSysInfo::machineHostName());
}

std::optional<QString> server_settings(const QString& app_dir) { return first_line(app_dir, kServerFile); }

}  // namespace tavuro::headoffice
