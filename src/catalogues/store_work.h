#pragma once
// The boundary at which a catalogue procedure catches a failure of the record store that
// nothing else handles, reporting it with a message that names the procedure.

#include <QString>
#include <functional>

namespace tavuro::catalogues {

// Runs work; a StoreError that escapes it shows "数据出错！[" + procedure + "]" and gives
// false. Otherwise gives what work gives.
bool guarded(const QString& procedure, const std::function<bool()>& work);

}  // namespace tavuro::catalogues
