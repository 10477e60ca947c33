#include "cashier/scan_listener.h"

#include "platform/key_input.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace tavuro::cashier {

ScanKey scan_key(const QKeyEvent& key) {
  // A repeat mark is not looked at: X11 marks a key pressed again in the same millisecond
  // as its release a repeat, as a fast scanner's doubled digit ("00") can be.
  ScanKey scan{ScanKey::Kind::Other, QChar(), key.timestamp()};
  const platform::KeyInput input = platform::key_input(key);
  const bool plain = (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == Qt::NoModifier;
  if (input.kind == platform::KeyKind::Enter && plain) {
    scan.kind = ScanKey::Kind::Enter;
  } else if (input.kind == platform::KeyKind::Typed && plain && input.text.size() == 1 &&
             platform::takes(platform::Characters::Digits, input.text)) {
    scan.kind = ScanKey::Kind::Digit;
    scan.digit = input.text.front();
  }
  return scan;
}

ScanListener::ScanListener(QWidget* window, std::function<void(const QString& code)> take_scan)
    : QObject(window), window_(window), take_scan_(std::move(take_scan)) {
  // Before the boxes' own rules see the key, so that a scan's Enter reaches none of them.
  qApp->installEventFilter(this);
}

bool ScanListener::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  QWidget* keyboard = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : QApplication::activeWindow();
  // A key not taken goes on to the parents: it is counted once, where it was typed.
  if (widget == nullptr || widget != keyboard) return false;
  if (widget->window() != window_) {
    detector_.reset();
    return false;
  }
  switch (detector_.press(scan_key(*static_cast<QKeyEvent*>(event)))) {
    case ScanStep::Started:
      remember_box(widget);
      return false;
    case ScanStep::None:
    case ScanStep::Continued:
      return false;
    case ScanStep::Scanned:
      restore_box();
      take_scan_(detector_.code());
      return true;
  }
  return false;
}

void ScanListener::remember_box(QWidget* widget) {
  QLineEdit* box = qobject_cast<QLineEdit*>(widget);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) box = combo->lineEdit();
  box_ = box;
  if (box == nullptr) return;
  text_ = box->text();
  cursor_ = box->cursorPosition();
  selection_start_ = box->selectionStart();
  selection_length_ = static_cast<int>(box->selectedText().size());
}

void ScanListener::restore_box() {
  if (box_.isNull()) return;
  box_->setText(text_);
  if (selection_start_ >= 0 && selection_length_ > 0) {
    box_->setSelection(selection_start_, selection_length_);
  } else {
    box_->setCursorPosition(cursor_);
  }
  box_.clear();
}

}  // namespace tavuro::cashier
