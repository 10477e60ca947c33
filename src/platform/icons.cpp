#include "platform/icons.h"

// The resources live in a static library: nothing would pull them into a program unless
// their initialiser is called. Q_INIT_RESOURCE must be used outside any namespace.
static void init_tavuro_resources() {
  Q_INIT_RESOURCE(tavuro);
}

namespace tavuro::platform {

void load_resources() {
  static const bool loaded = [] {
    init_tavuro_resources();
    return true;
  }();
  (void)loaded;
}

QIcon program_icon() {
  load_resources();
  return QIcon(QStringLiteral(":/tavuro/tavuro.svg"));
}

QIcon theme_icon(const QString& name) {
  load_resources();
  return QIcon::fromTheme(name, QIcon(QStringLiteral(":/tavuro/icons/") + name + QStringLiteral(".svg")));
}

}  // namespace tavuro::platform
