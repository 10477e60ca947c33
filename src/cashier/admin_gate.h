#pragma once
// The administrator password gate in front of every guarded command.

#include "startup/app_state.h"

namespace tavuro::cashier {

// The seven-line refusal shown after a wrong password.
QString wrong_password_message();

// Passes at once while no password is set; otherwise asks once for it (untrimmed,
// cancel counts as an empty answer) and shows the refusal when it does not match.
bool check_admin_password(const startup::AppState& state);

}  // namespace tavuro::cashier
