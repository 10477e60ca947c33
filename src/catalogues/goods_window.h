#pragma once
// The goods catalogue window: registers goods with their unit price, changes a price,
// deletes goods; gives goods their code (a barcode, or the shop's own). Shown modally from the cashier window's menu or from sale entry when a
// goods name is not registered; on closing it makes the cashier window reload its goods
// and put the pending goods name back into its goods box.

#include "catalogues/catalogue_dialog.h"
#include "startup/app_state.h"
#include "startup/cashier_link.h"

#include <QStringList>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tavuro::catalogues {

class frm_注册商品 final : public CatalogueDialog {
 public:
  frm_注册商品(startup::AppState& state, startup::CashierLink& cashier, QWidget* parent = nullptr);

  // Goods name, unit price and code boxes (the cashier window fills them before showing).
  QLineEdit* Text1() const { return Text1_; }
  QLineEdit* Text2() const { return Text2_; }
  QLineEdit* Text3() const { return Text3_; }

  void read_shop_list();
  void add_shop();
  void del_shop();

 protected:
  void Form_Activate() override;
  void Form_Unload() override;

 private:
  void List1_Click();
  KeyVerdict Text1_KeyPress(const QString& key);
  KeyVerdict Text2_KeyPress(const QString& key);
  KeyVerdict Text3_KeyPress(const QString& key);
  void clear_boxes();

  startup::AppState& state_;
  startup::CashierLink& cashier_;
  QStringList names_;                      // the stored goods name behind each line of List1
  std::vector<store::RecordRef> records_;  // the record behind each line (none for the header)
  QListWidget* List1_ = nullptr;
  QLabel* Label4_ = nullptr;
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
  QLineEdit* Text3_ = nullptr;  // the goods code, as scanned or typed
  QPushButton* Command1_ = nullptr;
};

}  // namespace tavuro::catalogues
