#include "cashier/file_work.h"

#include "catalogues/store_work.h"
#include "store/backup.h"

#include <QFileInfo>

namespace tavuro::cashier {

bool work_on_file(const QString& procedure, const QString& file, const QString& backup,
                  const std::function<void()>& work) {
  bool done = false;
  catalogues::guarded(procedure, [&] {
    return store::with_recovery(file, backup, [&] {
      if (!QFileInfo::exists(file)) return;  // a folder in its place is damage
      work();
      done = true;
    });
  });
  return done;
}

}  // namespace tavuro::cashier
