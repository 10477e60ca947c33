#pragma once
// The help browser: shows the browse target (the help page) in a rich-text browser that
// fills the window.

#include "startup/app_state.h"

#include <QDialog>

class QTextBrowser;

namespace tavuro::cashier {

class frmBrowser final : public QDialog {
 public:
  explicit frmBrowser(const startup::AppState& state, QWidget* parent = nullptr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTextBrowser* brwWebBrowser_ = nullptr;
};

// Shows readme.htm of the application directory in the browser, modal. false (and
// nothing shown) when the page is not there.
bool show_help_page(startup::AppState& state, QWidget* parent);

}  // namespace tavuro::cashier
