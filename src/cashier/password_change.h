#pragma once
// Setting, changing or clearing the administrator password.

#include "startup/app_state.h"

namespace tavuro::cashier {

// Checks the old password (untrimmed, exact; an empty one passes while none is set),
// asks before an empty new password, writes the new one untrimmed as the whole of p.dat
// (creating the file when it has gone missing) and makes it effective at once. Every
// outcome is told to the user. true when the password was changed.
bool change_admin_password(startup::AppState& state, const QString& old_password, const QString& new_password);

}  // namespace tavuro::cashier
