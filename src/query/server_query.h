#pragma once
// The query over the head office's server: the same filters and the same result lines as
// over local day files, over every till's lines of the chosen month folder and day files
// (or one till's).

#include "headoffice/pg_connection.h"
#include "headoffice/server_queries.h"
#include "query/query_engine.h"

namespace tavuro::query {

// Lines of every line on the server that matches all filters (a filter at "* 全部 *" takes
// every line), till by till. As over local files, a line whose amount is no number ends
// its till's file, which is named "till：file" among the skipped files. The record behind
// a line names the till: "till：month/file". Throws headoffice::ServerError.
QueryResult query_server(headoffice::PgConnection& server, const headoffice::ServerScope& scope,
                         const QList<QueryFilter>& filters, int line_limit = kMaxResultLines);

// Lines of every line on the server whose 单号 equals receipt_no exactly.
QueryResult query_server_receipt(headoffice::PgConnection& server, const headoffice::ServerScope& scope,
                                 const QString& receipt_no, int line_limit = kMaxResultLines);

}  // namespace tavuro::query
