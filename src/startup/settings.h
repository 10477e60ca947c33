#pragma once
// The one-line setting files: the receipt counter (nober.dat), the company name (co.dat),
// the administrator password (p.dat), the mask setting (public.dat) and the receipt
// printer (printer.dat). A missing file is created with its default (printer.dat is
// not: its absence means the system printer); a failure to read or write one leaves the
// value at its default and is not reported.

#include "startup/app_state.h"

namespace tavuro::startup {

// nober.dat: the counter as decimal text; missing → created holding "0".
void load_receipt_counter(AppState& state);
// co.dat: trimmed; missing → created holding " ".
void load_company_name(AppState& state);
// public.dat: trimmed; a first line not beginning with "屏蔽" reads as "屏蔽 = no"
// (the file keeps its text); missing → created holding "屏蔽 = no".
void load_mask_setting(AppState& state);
// p.dat: trimmed; unreadable or empty → no password; missing → created holding " ".
void load_admin_password(AppState& state);

// printer.dat: missing, empty, unreadable or not understood → the system printer (the
// print settings window tells about a line it does not understand).
void load_receipt_printer(AppState& state);

// The receipt number of a counter: six digits, zero-padded; a longer counter unpadded.
QString receipt_number_text(qint32 counter);

}  // namespace tavuro::startup
