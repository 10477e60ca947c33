#include "exports/export_file.h"

#include "platform/file_ops.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace tavuro::exports {

ExportTarget export_target(const QString& chosen) {
  const QString suffix = QFileInfo(chosen).suffix();
  if (suffix.compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0) return {chosen, Format::Csv};
  if (suffix.compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) == 0) return {chosen, Format::Xlsx};
  return {chosen + QStringLiteral(".xlsx"), Format::Xlsx};
}

QString export_filter() {
  return QStringLiteral("Excel 工作簿 (*.xlsx)|*.xlsx|CSV 文件，UTF-8 (*.csv)|*.csv");
}

void write_export(const ExportTarget& target, bool titled_sections, const std::function<void(TableWriter&)>& write) {
  const QString temporary = platform::temporary_sibling(target.path);
  try {
    {
      const std::unique_ptr<TableWriter> writer = make_writer(target.format, temporary, titled_sections);
      write(*writer);
      writer->finish();
    }
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target.path);
    if (std::rename(from.constData(), to.constData()) != 0) {
      throw ExportError(QStringLiteral("不能把导出的文件放到位。"));
    }
    platform::sync_directory_of(target.path);
  } catch (...) {
    QFile::remove(temporary);
    throw;
  }
}

}  // namespace tavuro::exports
