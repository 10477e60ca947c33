#pragma once
// The operator window: registers and deletes operators and chooses the current operator.
// Shown modally from the cashier window's menu, or from sale entry when a line is
// recorded without an operator; on closing it makes the cashier window reload its
// operator filter.

#include "catalogues/catalogue_dialog.h"
#include "startup/app_state.h"
#include "startup/cashier_link.h"
#include "store/record_ref.h"

#include <vector>

class QLineEdit;
class QListWidget;

namespace tavuro::catalogues {

class Frm_输入操作 final : public CatalogueDialog {
 public:
  Frm_输入操作(startup::AppState& state, startup::CashierLink& cashier, QWidget* parent = nullptr);

  QLineEdit* Text1() const { return Text1_; }

  void read_use();
  void add_use();
  void del_use();

 protected:
  void Form_Activate() override;
  void Form_Unload() override;

 private:
  void Command1_Click();

  startup::AppState& state_;
  startup::CashierLink& cashier_;
  std::vector<store::RecordRef> records_;  // the record behind each line of List1
  QListWidget* List1_ = nullptr;
  QLineEdit* Text1_ = nullptr;
};

}  // namespace tavuro::catalogues
