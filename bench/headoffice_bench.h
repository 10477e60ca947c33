#pragma once
// H. The head office: shipping a day of 5,000 lines, the month report over 5 tills × 31
// days × 5,000 lines on the server, and the lag from a recorded line to the server, each
// against plain libpq work on the same rows. Starts a PostgreSQL server of its own in
// data_dir; skipped with a message when PostgreSQL is not installed.

#include "workloads.h"

namespace tavuro::bench {

void headoffice(const QString& data_dir, const QString& sync_program, Table& table);

}  // namespace tavuro::bench
