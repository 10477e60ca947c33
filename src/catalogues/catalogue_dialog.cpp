#include "catalogues/catalogue_dialog.h"

#include "platform/fonts.h"
#include "platform/typing_guard.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace tavuro::catalogues {

CatalogueDialog::CatalogueDialog(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* layout = new QHBoxLayout(this);
  left_ = new QVBoxLayout;
  layout->addLayout(left_, 1);
}

QListWidget* CatalogueDialog::add_list_frame(const QString& frame_caption, int columns, int min_height) {
  auto* frame = new QGroupBox(frame_caption, this);
  frame->setObjectName(QStringLiteral("Frame1"));
  list_ = make_list(frame, QStringLiteral("List1"), columns);
  list_->setMinimumHeight(min_height);
  (new QVBoxLayout(frame))->addWidget(list_);
  left_->addWidget(frame, 1);
  return list_;
}

void CatalogueDialog::add_side_column(const QList<QWidget*>& fields, const QList<QPushButton*>& buttons) {
  auto* column = new QVBoxLayout;
  QList<QWidget*> tab_order;
  for (QWidget* field : fields) {
    column->addWidget(field);
    if (field->focusPolicy() != Qt::NoFocus) tab_order << field;
  }
  column->addSpacing(12);
  for (QPushButton* button : buttons) {
    column->addWidget(button);
    tab_order << button;
  }
  column->addStretch(1);
  static_cast<QBoxLayout*>(layout())->addLayout(column);
  if (list_ != nullptr) tab_order << list_;
  for (qsizetype i = 1; i < tab_order.size(); ++i) setTabOrder(tab_order[i - 1], tab_order[i]);
}

void CatalogueDialog::done(int result) {
  if (!unloaded_) {
    unloaded_ = true;
    Form_Unload();
  }
  QDialog::done(result);
}

void CatalogueDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) Form_Activate();
}

void CatalogueDialog::keyPressEvent(QKeyEvent* event) {
  // Enter presses the button that has the focus; in a text box it presses nothing.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button != nullptr && button->isEnabled()) {
      button->click();
    }
    return;
  }
  QDialog::keyPressEvent(event);
}

QLabel* make_label(QWidget* parent, const QString& name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

QPushButton* make_button(QWidget* parent, const QString& name, const QString& caption, const QString& toolTip) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setToolTip(toolTip);
  button->setAutoDefault(false);
  return button;
}

QLineEdit* make_text_box(QWidget* parent, const QString& name, const QString& toolTip, int maxLength,
                         platform::Characters characters) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setToolTip(toolTip);
  platform::guard_typing(box, characters, maxLength);
  return box;
}

QListWidget* make_list(QWidget* parent, const QString& name, int columns) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setFont(platform::fixed_font());
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  const int text = list->fontMetrics().horizontalAdvance(QString(columns + 2, QLatin1Char('0')));
  list->setMinimumWidth(text + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth());
  return list;
}

namespace {

// Filters with a handler; owned by the widget they watch.
class Filter final : public QObject {
 public:
  Filter(QObject* watched, std::function<bool(QEvent*)> handler) : QObject(watched), handler_(std::move(handler)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

 private:
  std::function<bool(QEvent*)> handler_;
};

// Moving between windows (a message box coming and going) is no focus change inside
// the window.
bool within_window(const QFocusEvent* event) {
  return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

QStringList characters(const QString& text) {
  QStringList result;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    result << text.mid(i, pair ? 2 : 1);
    if (pair) ++i;
  }
  return result;
}

}  // namespace

void on_key_press(QLineEdit* box, std::function<KeyVerdict(const QString& key)> handler) {
  new Filter(box, [box, handler = std::move(handler)](QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
      const platform::KeyInput key = platform::key_input(*static_cast<QKeyEvent*>(event));
      switch (key.kind) {
        case platform::KeyKind::Enter: return handler(QStringLiteral("\r")) == KeyVerdict::Discard;
        case platform::KeyKind::Backspace: return handler(QStringLiteral("\b")) == KeyVerdict::Discard;
        case platform::KeyKind::Paste: return handler(key.text) == KeyVerdict::Discard;
        case platform::KeyKind::Editing: return false;
        case platform::KeyKind::Typed: break;
      }
      const QStringList typed = characters(key.text);
      if (typed.size() == 1) return handler(typed.front()) == KeyVerdict::Discard;
      for (const QString& c : typed) {
        if (handler(c) == KeyVerdict::Accept) box->insert(c);
      }
      return true;
    }
    if (event->type() == QEvent::InputMethod) {
      const auto* input = static_cast<QInputMethodEvent*>(event);
      if (input->commitString().isEmpty() || !input->preeditString().isEmpty() || input->replacementLength() != 0) {
        return false;
      }
      // Each committed character is a key of its own, checked against the text before it.
      for (const QString& c : characters(input->commitString())) {
        if (handler(c) == KeyVerdict::Accept) box->insert(c);
      }
      return true;
    }
    return false;
  });
}

void on_got_focus(QLineEdit* box, std::function<void()> handler) {
  new Filter(box, [handler = std::move(handler)](QEvent* event) {
    if (event->type() == QEvent::FocusIn && within_window(static_cast<QFocusEvent*>(event))) handler();
    return false;
  });
}

void on_lost_focus(QLineEdit* box, std::function<void()> handler) {
  new Filter(box, [handler = std::move(handler)](QEvent* event) {
    if (event->type() == QEvent::FocusOut && within_window(static_cast<QFocusEvent*>(event))) handler();
    return false;
  });
}

void on_list_click(QListWidget* list, std::function<void()> handler) {
  // A mouse click changes the selection while the button is down and then reports the
  // click; the click alone counts, and it also counts on a line already selected.
  QObject::connect(list, &QListWidget::itemSelectionChanged, list, [handler] {
    if (QApplication::mouseButtons() == Qt::NoButton) handler();
  });
  QObject::connect(list, &QListWidget::itemClicked, list, [handler] { handler(); });
}

void fill_list(QListWidget* list, const QStringList& lines) {
  const QSignalBlocker quiet(list);
  list->clear();
  list->addItems(lines);
}

int selected_row(const QListWidget* list) {
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.front());
}

}  // namespace tavuro::catalogues
