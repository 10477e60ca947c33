#include "query/query_export.h"

namespace tavuro::query {

namespace {

// Between two files, progress is also told every this many lines.
constexpr qint64 kProgressEvery = 1024;

}  // namespace

QueryExport export_query(const QueryRequest& request, const exports::ExportTarget& target,
                         const exports::ExportProgress& progress) {
  QueryExport done;
  exports::write_export(target, false, [&](exports::TableWriter& writer) {
    exports::SaleLineSheet sheet(writer, kQuerySheetName);
    const qint64 files = request.files.size();
    qint64 file_index = 0;
    const auto tell = [&](qint64 file_done) {
      if (progress && !progress(file_done, files)) throw exports::ExportCancelled{};
    };
    done.skipped_files = walk_matches(
        request,
        [&](int index, int) {
          file_index = index;
          sheet.set_day_file(request.files[index]);
          tell(index);
        },
        [&](const store::DataFile&, const store::Record& record, sales::Money) {
          sheet.add(record);
          if (sheet.count() % kProgressEvery == 0) tell(file_index);
          return true;
        });
    sheet.finish();
    done.lines = sheet.count();
    done.total = sheet.total();
  });
  return done;
}

QString query_export_summary(const QueryExport& done) {
  QString text = QStringLiteral("共 %1 行。").arg(done.lines);
  if (!done.skipped_files.isEmpty()) text += QLatin1Char('\n') + skipped_files_message(done.skipped_files);
  return text;
}

}  // namespace tavuro::query
