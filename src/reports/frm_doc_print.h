#pragma once
// frmDoc_print: a small rich-text editor in the fixed-pitch CJK face, with its toolbar, size
// list and context menu. Files are read as RTF or plain text and saved as RTF.

#include "startup/app_state.h"

#include <QDialog>

class QAction;
class QComboBox;
class QMenu;
class QTextEdit;
class QToolBar;

namespace tavuro::reports {

class frmDoc_print final : public QDialog {
  Q_OBJECT

 public:
  static inline const QString kCaptionPrefix = QStringLiteral("文件输出打印 - ");
  static inline const QString kModified = QStringLiteral("保存");
  static inline const QString kNotModified = QStringLiteral("不保存");

  // Loads the pending report, if any (the file is deleted, the path cleared).
  explicit frmDoc_print(startup::AppState& state, QWidget* parent = nullptr);

  // True when a report file was loaded while opening.
  bool opened_with_report() const { return opened_with_report_; }
  // "保存" when the document has changed, "不保存" when not.
  const QString& modified_state() const { return modified_; }
  QTextEdit* editor() const { return rtfText_; }

  // The toolbar commands. An opened file replaces the document, whose changes are offered
  // for saving first; the document is then unmodified.
  void open_file();
  void save();
  void print();
  void cut();
  void copy();
  void paste();
  void toggle_bold();
  void toggle_italic();
  void toggle_underline();
  void align(Qt::Alignment alignment);
  void choose_color();
  // Combo1: a font size in points.
  void choose_size(const QString& text);
  // Context menu item 插入当前时间.
  void insert_current_time();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QAction* add_tool(const QString& key, const QString& tip, const QString& description, const QString& theme_icon);
  void build_context_menu();
  void load_pending_report();
  void save_as();
  // The question about unsaved changes; true for Yes.
  bool ask_to_save();
  bool write_rtf(const QString& path);
  void update_format_buttons();
  QString current_file() const;

  startup::AppState& state_;
  QString modified_ = kNotModified;
  bool opened_with_report_ = false;
  QTextEdit* rtfText_ = nullptr;
  QToolBar* tbToolBar_ = nullptr;
  QComboBox* Combo1_ = nullptr;
  QMenu* contextMenu_ = nullptr;
  QAction* bold_ = nullptr;
  QAction* italic_ = nullptr;
  QAction* underline_ = nullptr;
  QAction* align_left_ = nullptr;
  QAction* align_center_ = nullptr;
  QAction* align_right_ = nullptr;
};

}  // namespace tavuro::reports
