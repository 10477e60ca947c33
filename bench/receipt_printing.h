#pragma once
// Workload 7: 打印临时记录 of a 20-line receipt on an ESC/POS printer, from the click on
// Command3 to the last byte handed to the transport, against writing the same bytes raw
// to the same transport: a device file, and a network printer on 127.0.0.1.

#include "workloads.h"

namespace tavuro::bench {

void receipt_printing(const QString& data_dir, Table& table);

}  // namespace tavuro::bench
