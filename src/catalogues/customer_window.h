#pragma once
// The customer window: registers and deletes regular customers. Shown modally from the
// cashier window's menu or from sale entry when a customer name is not registered; on
// closing it makes the cashier window reload its customer box, showing the customer just
// added when sale entry asked for one.

#include "catalogues/catalogue_dialog.h"
#include "startup/app_state.h"
#include "startup/cashier_link.h"
#include "store/record_ref.h"

#include <vector>

class QLineEdit;
class QListWidget;

namespace tavuro::catalogues {

class Frm_注册客户 final : public CatalogueDialog {
 public:
  Frm_注册客户(startup::AppState& state, startup::CashierLink& cashier, QWidget* parent = nullptr);

  // The customer name box (the cashier window fills it before showing).
  QLineEdit* Text1() const { return Text1_; }

  void read_KeFu();
  void add_KeFu();
  void del_KeFu();

 protected:
  void Form_Activate() override;
  void Form_Unload() override;

 private:
  startup::AppState& state_;
  startup::CashierLink& cashier_;
  bool registered_ = false;  // a customer was added while the window was open
  std::vector<store::RecordRef> records_;  // the record behind each line of List1
  QListWidget* List1_ = nullptr;
  QLineEdit* Text1_ = nullptr;
};

}  // namespace tavuro::catalogues
