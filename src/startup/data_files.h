#pragma once
// Creates a missing data file with its layout; an existing file is left alone.
// Failures are thrown as StoreError.

#include "startup/app_state.h"

namespace tavuro::startup {

void make_day_file(const AppState& state);
// The journal of changes of the month folder, when it has none. Its first entries vouch
// for the records the folder's day files already hold. A journal that cannot be made is
// not a failure of start-up: every change then refuses with its own message.
void make_journal(const AppState& state);
void make_shop_file(const AppState& state);
void make_usefile(const AppState& state);
void make_KeFu_file(const AppState& state);

}  // namespace tavuro::startup
