#pragma once
// Frm_print: reports over chosen day files of one month folder: one per file, one summed,
// or the month-end report; previewed in the document window or printed at once.

#include "startup/app_state.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tavuro::reports {

class SourceChoice;

class Frm_print final : public QDialog {
  Q_OBJECT

 public:
  explicit Frm_print(startup::AppState& state, QWidget* parent = nullptr);

  // The folder the folder list shows.
  const QString& folder() const { return folder_; }

  void Drive1_Change();
  void Dir1_Change();
  void Check1_Click();
  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Command1_Click();
  void Command2_Click();

  // The source choice 本机 / 总店服务器 (shown when the till has a server.dat).
  SourceChoice* source_choice() const { return Frame_来源_; }

  // Moves the folder list to path (as a double click in it does) and runs Dir1_Change.
  void set_folder(const QString& path);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void fill_drives();
  void refresh_folders();
  void selectAll(bool selected);
  // 打印 (print at once) or 预览.
  void run(bool print_at_once);

  startup::AppState& state_;
  QString folder_;
  int drive_index_ = -1;
  SourceChoice* Frame_来源_ = nullptr;
  QComboBox* Drive1_ = nullptr;
  QListWidget* Dir1_ = nullptr;
  QListWidget* File1_ = nullptr;
  QListWidget* List1_ = nullptr;
  QCheckBox* Check1_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QRadioButton* Option1_ = nullptr;
  QRadioButton* Option2_ = nullptr;
  QRadioButton* Option3_ = nullptr;
  QPushButton* Command1_ = nullptr;
  QPushButton* Command2_ = nullptr;
  QPushButton* Command3_ = nullptr;
};

}  // namespace tavuro::reports
