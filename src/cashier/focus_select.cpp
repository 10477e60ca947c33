#include "cashier/focus_select.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

namespace tavuro::cashier {

namespace {

class SelectAllOnFocus final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      auto* box = static_cast<QLineEdit*>(watched);
      box->selectAll();
      // A mouse click that gave the focus places the cursor after this event: select again.
      QTimer::singleShot(0, box, [box] {
        if (box->hasFocus()) box->selectAll();
      });
    }
    return false;
  }
};

}  // namespace

void select_all_on_focus(QLineEdit* box) { box->installEventFilter(new SelectAllOnFocus(box)); }

}  // namespace tavuro::cashier
