#pragma once
// Receipt numbers: the counter goes up by one for each new receipt and is kept in
// nober.dat.

#include "startup/app_state.h"

namespace tavuro::cashier {

// Adds one to the receipt counter and writes it into nober.dat. When nober.dat is missing
// or cannot be written, shows "写单号文件时出错.[w_no_file]" and returns false; the
// counter stays increased.
bool new_receipt_no(startup::AppState& state);

// "单号:" + the counter as six digits (all of them when it has more).
QString receipt_caption(qint32 counter);

}  // namespace tavuro::cashier
