#pragma once
// What the three catalogue windows share: a modal dialog that runs its unload step however
// it is closed, Enter pressing only a focused button, and small helpers that give text
// boxes and lists their KeyPress, GotFocus, LostFocus and Click handlers.

#include "platform/key_input.h"

#include <QDialog>
#include <functional>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tavuro::catalogues {

class CatalogueDialog : public QDialog {
 public:
  // Closes the window; its unload step runs first.
  void done(int result) final;

 protected:
  CatalogueDialog(const QString& objectName, const QString& caption, QWidget* parent);

  // The layout every catalogue window shares: on the left Frame1 with List1 (lines of
  // columns display columns, at least min_height pixels high), on the right the fields
  // on top and the buttons below them. The tab order runs through the fields and buttons
  // and ends at the list.
  QListWidget* add_list_frame(const QString& frame_caption, int columns, int min_height);
  QBoxLayout* left_column() const { return left_; }
  void add_side_column(const QList<QWidget*>& fields, const QList<QPushButton*>& buttons);

  // The window's unload step, run once when it closes.
  virtual void Form_Unload() {}
  // Run when the window is shown.
  virtual void Form_Activate() {}

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool unloaded_ = false;
  QBoxLayout* left_ = nullptr;
  QListWidget* list_ = nullptr;
};

QLabel* make_label(QWidget* parent, const QString& name, const QString& caption);
QPushButton* make_button(QWidget* parent, const QString& name, const QString& caption, const QString& toolTip = {});
// maxLength limits what the user types or pastes, as a text box's maximum length does; a
// longer text the program puts in is kept whole (a name handed over by sale entry is
// never cut short) and may still be shortened by the user. characters: what the box takes,
// however it is put in.
QLineEdit* make_text_box(QWidget* parent, const QString& name, const QString& toolTip, int maxLength = 0,
                         platform::Characters characters = platform::Characters::Any);
// A single-selection list in the fixed-pitch font, wide enough for lines of columns
// display columns.
QListWidget* make_list(QWidget* parent, const QString& name, int columns);

enum class KeyVerdict { Accept, Discard };

// handler sees each typed character before the box inserts it: "\r" for Enter, "\b" for
// Backspace, one character at a time from an input method's commit, and the whole text
// of a paste from the keyboard (Ctrl+V, Shift+Insert). Editing keys and shortcuts (arrows,
// Delete, Tab, Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+Z) do not reach it.
void on_key_press(QLineEdit* box, std::function<KeyVerdict(const QString& key)> handler);
// The box gets the focus from within the window (not when the window itself comes back
// to the front after a message box).
void on_got_focus(QLineEdit* box, std::function<void()> handler);
void on_lost_focus(QLineEdit* box, std::function<void()> handler);

// A click on a line, or a line chosen with the keyboard.
void on_list_click(QListWidget* list, std::function<void()> handler);
// Replaces the lines of the list, leaving none selected, without running its Click.
void fill_list(QListWidget* list, const QStringList& lines);
// The selected line, or -1.
int selected_row(const QListWidget* list);

}  // namespace tavuro::catalogues
