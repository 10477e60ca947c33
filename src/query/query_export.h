#pragma once
// The query's result exported whole: the query is run again over its files with no limit
// on the lines (the result list stops at 32,767), each matching line written as it is read.

#include "exports/export_file.h"
#include "exports/sale_rows.h"
#include "query/query_engine.h"

namespace tavuro::query {

inline const QString kQuerySheetName = QStringLiteral("查询结果");

struct QueryExport {
  qint64 lines = 0;
  sales::Money total;
  QStringList skipped_files;  // as the query names them
};

// Writes every line of the query into target, the same lines in the same order as the
// result list (without its limit). Progress counts files. Throws ExportError and
// ExportCancelled.
QueryExport export_query(const QueryRequest& request, const exports::ExportTarget& target,
                         const exports::ExportProgress& progress);

// "共 N 行。", and the files that could not be read.
QString query_export_summary(const QueryExport& done);

}  // namespace tavuro::query
