#include "store/store_error.h"

namespace tavuro::store {

StoreError::StoreError(Kind kind, QString path, QString detail)
    : std::runtime_error((path + QStringLiteral(": ") + detail).toStdString()),
      kind_(kind),
      path_(std::move(path)),
      detail_(std::move(detail)) {}

}  // namespace tavuro::store
