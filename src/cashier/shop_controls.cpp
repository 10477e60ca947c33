#include "cashier/shop_controls.h"

#include "cashier/frm_shop_geometry.h"
#include "platform/fonts.h"
#include "platform/typing_guard.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace tavuro::cashier {

QLabel* make_label(QWidget* parent, const QString& name, const QString& caption, const QRect& at) {
  auto* widget = new QLabel(caption, parent);
  widget->setObjectName(name);
  widget->setGeometry(at);
  return widget;
}

QGroupBox* make_frame(QWidget* parent, const QString& name, const QString& caption, const QRect& at) {
  auto* widget = new QGroupBox(caption, parent);
  widget->setObjectName(name);
  widget->setGeometry(at);
  return widget;
}

QLineEdit* make_text_box(QWidget* parent, const QString& name, const QString& tool_tip, const QRect& at,
                         platform::Characters characters) {
  auto* widget = new QLineEdit(parent);
  widget->setObjectName(name);
  widget->setToolTip(tool_tip);
  widget->setGeometry(at);
  platform::guard_typing(widget, characters);
  // Number boxes take typed digits only; an input method would bypass the key rules.
  widget->setAttribute(Qt::WA_InputMethodEnabled, false);
  widget->setContextMenuPolicy(Qt::NoContextMenu);
  return widget;
}

QComboBox* make_combo_box(QWidget* parent, const QString& name, const QString& tool_tip, const QRect& at) {
  auto* widget = new QComboBox(parent);
  widget->setObjectName(name);
  widget->setToolTip(tool_tip);
  widget->setEditable(true);
  widget->setInsertPolicy(QComboBox::NoInsert);
  // What is typed stays as typed: no completion, and leaving the box with the text of
  // an item is no choice of that item.
  widget->setCompleter(nullptr);
  QObject::disconnect(widget->lineEdit(), &QLineEdit::editingFinished, widget, nullptr);
  widget->setGeometry(at);
  return widget;
}

QPushButton* make_button(QWidget* parent, const QString& name, const QString& caption, const QString& tool_tip,
                         const QRect& at) {
  auto* widget = new QPushButton(caption, parent);
  widget->setObjectName(name);
  widget->setToolTip(tool_tip);
  widget->setGeometry(at);
  // Enter on a focused button presses it, as everywhere in this program.
  widget->setAutoDefault(true);
  return widget;
}

QListWidget* make_list(QWidget* parent, const QString& name, const QRect& at) {
  auto* widget = new QListWidget(parent);
  widget->setObjectName(name);
  widget->setGeometry(at);
  widget->setFont(platform::fixed_font(kListFontPixels));
  widget->setUniformItemSizes(true);
  widget->setContextMenuPolicy(Qt::PreventContextMenu);
  widget->viewport()->setMouseTracking(true);
  return widget;
}

std::array<QPushButton*, 6> make_headers(QGroupBox* frame, const QListWidget* list, int first) {
  static const std::array<QString, 6> heads{QStringLiteral("序列号"), QStringLiteral("商 品 名 称"),
                                            QStringLiteral("数 量"),  QStringLiteral("单 价"),
                                            QStringLiteral("金 额"),  QStringLiteral("操作/编号")};
  const int column = list->fontMetrics().horizontalAdvance(QLatin1Char('a'));
  const int text_margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
  const int origin = list->x() + list->frameWidth() + text_margin;
  std::array<QPushButton*, 6> made{};
  for (size_t i = 0; i < made.size(); ++i) {
    const auto [from, to] = kHeaderColumns[i];
    auto* head = new QPushButton(heads[i], frame);
    head->setObjectName(QStringLiteral("Com_cap(%1)").arg(first + static_cast<int>(i)));
    head->setGeometry(origin + from * column, kHeaderY, (to - from) * column, kHeaderHeight);
    head->setFocusPolicy(Qt::NoFocus);
    QObject::connect(head, &QPushButton::clicked, head, [head] { head->window()->activateWindow(); });
    made[i] = head;
  }
  return made;
}

void fill_combo(QComboBox* combo, const QStringList& items) {
  combo->clear();
  combo->addItems(items);
  combo->setCurrentIndex(-1);
  combo->setEditText(QString());
}

void take_focus_for_command(QPushButton* button) {
  if (!button->hasFocus() && button->isEnabled() && button->window()->isVisible()) {
    button->setFocus(Qt::ShortcutFocusReason);
  }
}

void select_on_focus(QLineEdit* box, bool by_mouse) {
  box->selectAll();
  // A mouse click places the cursor after the focus arrives: select once more after it.
  if (by_mouse) QTimer::singleShot(0, box, &QLineEdit::selectAll);
}

QString selected_text(const QListWidget* list) {
  const QListWidgetItem* current = list->currentItem();
  return current != nullptr && current->isSelected() ? current->text() : QString();
}

int selected_row(const QListWidget* list) {
  const QListWidgetItem* current = list->currentItem();
  return current != nullptr && current->isSelected() ? list->row(current) : -1;
}

}  // namespace tavuro::cashier
