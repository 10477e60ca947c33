#pragma once
// Building blocks of the cashier window's controls, and the small rules its parts share:
// a button pressed by its mnemonic, the selected line of a list.

#include "platform/key_input.h"

#include <QString>
#include <QStringList>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRect;
class QWidget;

namespace tavuro::cashier {

QLabel* make_label(QWidget* parent, const QString& name, const QString& caption, const QRect& at);
QGroupBox* make_frame(QWidget* parent, const QString& name, const QString& caption, const QRect& at);
// A number box: it takes only the characters given, whatever puts them in; no input
// method, no context menu.
QLineEdit* make_text_box(QWidget* parent, const QString& name, const QString& tool_tip, const QRect& at,
                         platform::Characters characters);
// An editable combo box whose text stays as typed.
QComboBox* make_combo_box(QWidget* parent, const QString& name, const QString& tool_tip, const QRect& at);
QPushButton* make_button(QWidget* parent, const QString& name, const QString& caption, const QString& tool_tip,
                         const QRect& at);
// A list of display lines in the fixed-pitch font.
QListWidget* make_list(QWidget* parent, const QString& name, const QRect& at);

// The six column headers Com_cap(first) … Com_cap(first + 5) over a list, each spanning
// the columns of its field; a click on one gives the focus back to the window.
std::array<QPushButton*, 6> make_headers(QGroupBox* frame, const QListWidget* list, int first);

// Replaces the items of a combo box; its text stays empty until it is set.
void fill_combo(QComboBox* combo, const QStringList& items);

// A button pressed by its mnemonic takes the focus first, so that the box being left runs
// its rules before the command, as with a click.
void take_focus_for_command(QPushButton* button);

// A box that got the focus has its whole text selected, so that typing replaces it.
void select_on_focus(QLineEdit* box, bool by_mouse);

// The text of the selected line; empty when none is selected.
QString selected_text(const QListWidget* list);
// The row of the selected line; -1 when none is selected.
int selected_row(const QListWidget* list);

}  // namespace tavuro::cashier
