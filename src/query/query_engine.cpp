#include "query/query_engine.h"

#include "sales/display_line.h"
#include "sales/labels.h"
#include "startup/paths.h"
#include "store/data_file.h"
#include "store/guarded.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tavuro::query {

namespace {

QString joined(const QList<QueryFilter>& filters, const QString& equals) {
  QStringList parts;
  for (const QueryFilter& filter : filters) parts << filter.field + equals + filter.value;
  return parts.join(QStringLiteral("，"));
}

}  // namespace

QueryRequest filter_request(const QStringList& files, const QList<QueryFilter>& filters) {
  // A filter at "* 全部 *" is not tested and its field not read.
  QueryRequest request{files, {}};
  for (const QueryFilter& filter : filters) {
    if (filter.value != sales::kAllEntry) request.wanted.append({filter.field, filter.value});
  }
  return request;
}

QueryRequest receipt_request(const QStringList& files, const QString& receipt_no) {
  return {files, {{store::day::kReceiptNo, receipt_no}}};
}

QStringList walk_matches(const QueryRequest& request, const FileProgress& progress, const MatchVisitor& take) {
  QStringList skipped;
  const int file_count = static_cast<int>(request.files.size());
  bool stopped = false;
  for (int i = 0; i < file_count && !stopped; ++i) {
    const QString& path = request.files[i];
    if (progress) progress(i, file_count);
    // An amount that is no number ends the reading of its file like a damaged record does;
    // its record is not taken, so it takes no line number and is not counted.
    bool bad_amount = false;
    const bool read = store::guarded_quietly([&] {
      const store::DataFile file = store::DataFile::open(path);
      // A file without the shown fields is no day file.
      for (const QString& field : sales::display_fields()) {
        if (!file.has_field(field)) throw store::StoreError(store::StoreError::Kind::WrongSchema, path, field);
      }
      // Every field is read: the record behind a line is known by all of them.
      file.walk_where({}, request.wanted, [&](const store::Record& record) {
        const std::optional<sales::Money> amount = sales::Money::parse(record.value(store::day::kAmount));
        if (!amount) {
          bad_amount = true;
          return false;
        }
        stopped = !take(file, record, *amount);
        return !stopped;
      });
    });
    if (!read || bad_amount) skipped << QFileInfo(path).fileName();
  }
  return skipped;
}

namespace {

QueryResult run(const QueryRequest& request, const FileProgress& progress, int line_limit) {
  QueryResult result;
  result.skipped_files =
      walk_matches(request, progress, [&](const store::DataFile& file, const store::Record& record, sales::Money amount) {
        if (result.count() >= line_limit) {
          result.truncated = true;
          return false;
        }
        result.total = result.total.added(amount);
        result.lines << sales::display_line(result.count() + 1, sales::sale_columns(record));
        result.records.push_back(file.ref_to(record));
        return true;
      });
  return result;
}

}  // namespace

QueryResult query_files(const QStringList& files, const QList<QueryFilter>& filters, const FileProgress& progress,
                        int line_limit) {
  return run(filter_request(files, filters), progress, line_limit);
}

QueryResult query_receipt_lines(const QStringList& files, const QString& receipt_no, const FileProgress& progress,
                                int line_limit) {
  return run(receipt_request(files, receipt_no), progress, line_limit);
}

QStringList files_in_folder(const QString& folder, const QStringList& names) {
  QStringList files;
  for (const QString& name : names) files << startup::app_file(folder, name);
  return files;
}

QStringList day_file_names(const QString& folder) {
  QStringList names = QDir(folder).entryList({QStringLiteral("*.day")}, QDir::Files, QDir::NoSort);
  std::sort(names.begin(), names.end());
  return names;
}

QString query_description(const QList<QueryFilter>& filters) {
  return joined(filters, QStringLiteral("="));
}

QString receipt_description(const QString& receipt_no) {
  return QStringLiteral("单号=") + receipt_no;
}

QString query_caption(const QList<QueryFilter>& filters) {
  return QStringLiteral("查询：") + joined(filters, QStringLiteral(" = "));
}

QString receipt_caption(const QString& receipt_no) {
  return QStringLiteral("查询：查询单号 = ") + receipt_no;
}

QString skipped_files_message(const QStringList& names) {
  if (names.isEmpty()) return {};
  return QStringLiteral("以下文件无法读取，已跳过：") + names.join(QStringLiteral("、"));
}

QString truncated_message() {
  return QStringLiteral("查询结果超过 %1 行，只列出了前 %1 行。").arg(kMaxResultLines);
}

}  // namespace tavuro::query
