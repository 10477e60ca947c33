#include "cashier/frm_browser.h"

#include "cashier/help_page.h"
#include "platform/app_info.h"

#include <QFileInfo>
#include <QResizeEvent>
#include <QTextBrowser>
#include <QUrl>

namespace tavuro::cashier {

namespace {

constexpr int kMargin = 100 / 15;  // 100 twips

}  // namespace

frmBrowser::frmBrowser(const startup::AppState& state, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmBrowser"));
  setWindowTitle(platform::app_title() + QStringLiteral("浏览器"));
  setModal(true);
  brwWebBrowser_ = new QTextBrowser(this);
  brwWebBrowser_->setObjectName(QStringLiteral("brwWebBrowser"));
  // Links to web pages open in the desktop's browser; links between local pages here.
  brwWebBrowser_->setOpenExternalLinks(true);
  const QString& target = state.browse_target;
  const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                             : QUrl(target);
  if (url.isValid()) brwWebBrowser_->setSource(url);
  resize(10800 / 15, 8400 / 15);
}

void frmBrowser::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const QSize inner = event->size();
  brwWebBrowser_->setGeometry(0, 0, qMax(0, inner.width() - kMargin), qMax(0, inner.height() - kMargin));
}

bool show_help_page(startup::AppState& state, QWidget* parent) {
  const QString path = help_path(state.paths.app_dir);
  if (!QFileInfo::exists(path)) return false;
  state.browse_target = path;
  frmBrowser browser(state, parent);
  browser.exec();
  return true;
}

}  // namespace tavuro::cashier
