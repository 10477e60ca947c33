#include "platform/app_info.h"

namespace tavuro::platform {

QString app_title() { return QStringLiteral("Tavuro收银机"); }

}  // namespace tavuro::platform
