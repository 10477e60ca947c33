#pragma once
// Work of the cashier window on a data file that has a backup (the day file, shop.dat).

#include <QString>
#include <functional>

namespace tavuro::cashier {

// Runs work when the file exists (a missing file is left alone), under the damaged-file
// recovery from backup. A store failure the recovery does not handle is reported with
// "数据出错！[" + procedure + "]". Returns whether work ran to its end.
bool work_on_file(const QString& procedure, const QString& file, const QString& backup,
                  const std::function<void()>& work);

}  // namespace tavuro::cashier
