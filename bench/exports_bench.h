#pragma once
// X. Exporting a year's query (365 days × 300 lines) to .xlsx and to .csv.

#include "shop_generator.h"
#include "workloads.h"

namespace tavuro::bench {

void export_year(const GeneratedShop& shop, const QString& data_dir, Table& table);

}  // namespace tavuro::bench
