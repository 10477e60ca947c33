#pragma once
// The sale entry of the cashier window: the receipt number, the entry boxes with their key
// and focus rules, and the temporary record of the current receipt with its total. It
// records a line (into the day file, the temporary record and today's list at once),
// clears and prints the receipt, and deletes a line of it.

#include "cashier/catalogue_lists.h"
#include "cashier/temporary_record.h"
#include "platform/key_input.h"
#include "startup/app_state.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace tavuro::cashier {

// What sale entry asks of its window.
struct SaleEntryHooks {
  // The goods window with its name, price and code boxes filled.
  std::function<void(const QString& name, const QString& price, const QString& code)> open_goods_window;
  std::function<void(const QString& name)> open_customer_window;
  std::function<void()> open_operator_window;
  std::function<void()> close_window;
  // A line is in the day file as record: today's list shows it and counts it.
  std::function<void(const sales::SaleColumns& columns, const store::RecordRef& record)> add_to_today;
  // A record left the day file: today's list is read again.
  std::function<void()> reload_today;
};

class SaleEntryPanel final : public QObject {
 public:
  // Builds the controls on area, a child of the window.
  SaleEntryPanel(startup::AppState& state, QWidget* area, SaleEntryHooks hooks);

  // The state at window load: no receipt, an empty temporary record, the receipt number
  // of the counter.
  void start_without_receipt();

  // The goods of shop.dat: their names in the goods box, their codes for scans.
  void show_goods(const GoodsLists& goods);
  void set_goods_text(const QString& text);
  void show_customers(const QStringList& names);
  void set_customer_text(const QString& text);
  // The unit price of the goods named in the goods box, from shop.dat.
  void find_price();
  // The heights of the temporary record's frame and list, in pixels.
  void set_record_heights(int frame, int list);

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  bool check_goods(const QString& name);
  // A scan typed anywhere in the window: taken as if typed into the goods box and closed
  // with Enter, after a new receipt number when no receipt is open.
  void take_scan(const QString& code);
  bool check_customer(const QString& name);
  // 删除 on the temporary record's popup: deletes the selected line of the receipt.
  void 删除_Click();

  // Adds a line to the receipt when commit puts it everywhere else; shows the receipt.
  bool add_line(const sales::SaleColumns& columns, const std::function<std::optional<store::RecordRef>()>& commit);
  const TemporaryRecord& receipt() const { return receipt_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build_controls(QWidget* area);
  void build_popup(QWidget* area);
  void connect_controls();

  bool entry_key(QObject* watched, const platform::KeyInput& key);
  void entry_focus_out(QObject* watched);
  void Combo1_Enter();
  // The goods of a stored code into the boxes, and on to the quantity; false when no
  // goods holds text as its code.
  bool take_code(const QString& text);
  void offer_code_registration(const QString& code);
  void Text2_LostFocus();
  void take_focus_back(QWidget* widget);
  void set_entry_enabled(bool enabled);
  bool record_line();
  // Shows the temporary record in List1, its total in Label4; both keep the state's
  // count and total in step.
  void show_receipt();
  void show_receipt_total();
  void publish_receipt();

  startup::AppState& state_;
  SaleEntryHooks hooks_;
  TemporaryRecord receipt_;
  QString receipt_caption_;  // "单号:" + the number of the receipt being entered
  bool restoring_focus_ = false;
  bool leaving_for_scan_ = false;  // a scan takes the focus from the box being typed in
  GoodsCodes codes_;

  std::array<QLabel*, 6> Label1_{};
  QComboBox* Combo1_ = nullptr;
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
  QLineEdit* Text3_ = nullptr;
  QComboBox* Combo2_ = nullptr;
  QPushButton* Command1_ = nullptr;
  QPushButton* Command2_ = nullptr;
  QPushButton* Command3_ = nullptr;
  QPushButton* Command4_ = nullptr;
  QGroupBox* Frame5_ = nullptr;
  QLabel* Label3_ = nullptr;
  QGroupBox* Frame3_ = nullptr;
  QLabel* Label4_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QListWidget* List1_ = nullptr;
  QMenu* list1_右击_ = nullptr;
  QAction* 删除_ = nullptr;
};

}  // namespace tavuro::cashier
