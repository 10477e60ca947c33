#pragma once
// The icons the program carries inside itself: its own, and the fallbacks for the desktop
// theme's toolbar icons.

#include <QIcon>
#include <QString>

namespace tavuro::platform {

// Registers the compiled-in resources (":/tavuro/..."); any number of calls, from any
// thread. The icon procedures below call it themselves.
void load_resources();

// The program's own icon, the one installed for the desktop as "tavuro".
QIcon program_icon();

// The desktop theme's icon of that freedesktop name ("document-open"), else the program's
// own drawing of the same name.
QIcon theme_icon(const QString& name);

}  // namespace tavuro::platform
