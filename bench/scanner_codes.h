#pragma once
// Workload S: barcode scans in a shop of 50,000 goods with codes: the lookup of a scanned
// code, a whole scan in the cashier window, and loading the goods with their codes.

#include "workloads.h"

namespace tavuro::bench {

void scanner_codes(const QString& data_dir, Table& table);

}  // namespace tavuro::bench
