#include "catalogues/store_work.h"

#include "store/backup.h"
#include "store/store_error.h"

namespace tavuro::catalogues {

bool guarded(const QString& procedure, const std::function<bool()>& work) {
  try {
    return work();
  } catch (const store::StoreError&) {
    store::report_store_failure(procedure);
    return false;
  }
}

}  // namespace tavuro::catalogues
