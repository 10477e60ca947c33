#pragma once
// The journal window 修改记录: the entries of the journal of changes of a chosen month
// folder and day, in fixed-pitch columns; 核对 checks the chain and holds every day file of
// the month against the journal; 打印 hands the list to the document window.

#include "sales/journal_check.h"
#include "startup/app_state.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tavuro::cashier {

class Frm_修改记录 final : public QDialog {
 public:
  explicit Frm_修改记录(startup::AppState& state, QWidget* parent = nullptr);

  // The entries of the chosen month and day.
  void read_journal();
  void Command1_Click();  // 核对
  void Command2_Click();  // 打印

 private:
  void Combo1_Click();
  QString month_folder() const;
  QStringList print_lines() const;

  startup::AppState& state_;
  std::optional<sales::JournalCheck> check_;  // the last check of the month shown
  QComboBox* Combo1_ = nullptr;               // month folder
  QComboBox* Combo2_ = nullptr;               // day file, or all
  QLabel* Label3_ = nullptr;                  // column titles
  QListWidget* List1_ = nullptr;              // entries
  QLabel* Label4_ = nullptr;                  // entry count
  QListWidget* List2_ = nullptr;              // what the check found
  QString last_hash_;                         // the hash of the journal's last entry
};

// Shows the journal window modally.
void open_journal_window(startup::AppState& state, QWidget* parent);

}  // namespace tavuro::cashier
