#pragma once
// Creates a missing data file with its layout; an existing file is left alone.
// Failures are thrown as StoreError.

#include "startup/app_state.h"

namespace tavuro::startup {

void make_day_file(const AppState& state);
void make_shop_file(const AppState& state);
void make_usefile(const AppState& state);
void make_KeFu_file(const AppState& state);

}  // namespace tavuro::startup
