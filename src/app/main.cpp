// Tavuro收银机: a cash register and sales ledger for a small shop.

#include "cashier/frm_shop.h"
#include "platform/clock.h"
#include "platform/icons.h"
#include "startup/start_up.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tavuro"));
  QApplication::setWindowIcon(tavuro::platform::program_icon());
  // Ties the windows to the installed desktop entry (tavuro.desktop) and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("tavuro"));
  // Qt's own dialogs (files, printer, colours) in Chinese, like the rest of the program.
  QTranslator qt_chinese;
  if (qt_chinese.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_chinese);
  }

#ifdef TAVURO_SYSTEM_INSTALL
  constexpr auto install = tavuro::startup::Install::SystemWide;
#else
  constexpr auto install = tavuro::startup::Install::Portable;
#endif
  tavuro::startup::AppState state;
  std::unique_ptr<tavuro::cashier::Frm_shop> window;
  tavuro::startup::start_up(state, tavuro::startup::application_directory(install), tavuro::platform::now().date(),
                            [&window](tavuro::startup::AppState& s) {
                              window = std::make_unique<tavuro::cashier::Frm_shop>(s);
                              window->show();
                            });
  // Without the cashier window there is nothing to run.
  if (!window || !window->isVisible()) return 1;
  return QApplication::exec();
}
