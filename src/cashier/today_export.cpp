#include "cashier/today_export.h"

#include "platform/dialogs.h"
#include "store/guarded.h"
#include "store/schemas.h"

#include <QFileInfo>

#include <unordered_set>

namespace tavuro::cashier {

namespace {

// Progress is told every this many lines.
constexpr qint64 kProgressEvery = 256;

}  // namespace

std::optional<QString> export_today_view(const TodayView& view, const QString& day_file, const QString& day_backup,
                                         const exports::ExportTarget& target, const exports::ExportProgress& progress) {
  if (!QFileInfo(day_file).isFile()) {
    platform::warn(QStringLiteral("今天的数据文件不存在，没有导出。[") + day_file + QLatin1Char(']'));
    return std::nullopt;
  }
  // The view's lines are in stored order, so a walk of the file meets their records in
  // the order shown.
  std::unordered_set<qint64> shown;
  for (int row = 0; row < view.count(); ++row) {
    const std::optional<store::RecordRef> record = view.record_at(row);
    if (record && record->path == day_file) shown.insert(record->id);
  }
  const qint64 wanted = static_cast<qint64>(shown.size());
  qint64 lines = 0;
  const bool done = store::work_on_file(QStringLiteral("export_list2"), day_file, day_backup, [&] {
    exports::write_export(target, false, [&](exports::TableWriter& writer) {
      exports::SaleLineSheet sheet(writer, kTodaySheetName);
      sheet.set_day_file(day_file);
      const store::DataFile file = store::DataFile::open(day_file, store::day_schema());
      file.walk({}, [&](const store::Record& record) {
        if (shown.count(record.id()) == 0) return true;
        sheet.add(record);
        if (sheet.count() % kProgressEvery == 0 && progress && !progress(sheet.count(), wanted)) {
          throw exports::ExportCancelled{};
        }
        return true;
      });
      sheet.finish();
      lines = sheet.count();
    });
  });
  if (!done) return std::nullopt;
  return QStringLiteral("共 %1 行。").arg(lines);
}

}  // namespace tavuro::cashier
