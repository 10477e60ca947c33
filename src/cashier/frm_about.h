#pragma once
// The about window: title, version, supported systems, the maker's notice, a link to the
// maker's web page and a button to the help page.

#include "startup/app_state.h"

#include <QDialog>
#include <functional>

class QLabel;
class QUrl;

namespace tavuro::cashier {

class frm_About final : public QDialog {
 public:
  // Opens a web address outside the program; false when it could not.
  using LinkOpener = std::function<bool(const QUrl&)>;

  explicit frm_About(startup::AppState& state, QWidget* parent = nullptr);

  // The desktop's browser unless replaced.
  void set_link_opener(LinkOpener opener) { open_link_ = std::move(opener); }

  void Label1_Click();    // opens the maker's web page
  void cmd_help_Click();  // opens the help page

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void set_link_look(const QColor& color, bool hovered);

  startup::AppState& state_;
  QLabel* Label1_ = nullptr;
  LinkOpener open_link_;
};

}  // namespace tavuro::cashier
