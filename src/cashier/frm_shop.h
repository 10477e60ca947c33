#pragma once
// The cashier window: the program's main window and the only one that stays open. Its
// two parts own their controls: sale entry with the temporary record of the current
// receipt, and today's records with their filters. The window keeps the menus, the title
// clock, the screen mask and the procedures the other windows call. Closing it ends the
// program.

#include "startup/app_state.h"
#include "startup/cashier_link.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QMenu;
class QPushButton;
class QTimer;

namespace tavuro::cashier {

class SaleEntryPanel;
class TodayPanel;

class Frm_shop final : public QMainWindow, public startup::CashierLink {
 public:
  explicit Frm_shop(startup::AppState& state, QWidget* parent = nullptr);
  ~Frm_shop() override;

  // What the catalogue windows ask of the cashier window.
  void read_shop_file() override;
  void read_usefile() override;
  void read_KeFu_file() override;
  void read_myfile() override;
  void set_goods_text(const QString& text) override;

  // The unit price of the goods named in the goods box, from shop.dat.
  void find_price();

  void Timer1_Timer();

  SaleEntryPanel& sale_entry() { return *sale_entry_; }
  TodayPanel& today() { return *today_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The menus and the window's own commands (frm_shop_menus.cpp).
  void build_commands(QWidget* area);
  void build_menus();
  QAction* add_command(QMenu* menu, const QString& name, const QString& caption, std::function<void()> run);
  QAction* add_guarded_command(QMenu* menu, const QString& name, const QString& caption, std::function<void()> run);

  void Form_Load();
  // The layout of the mask setting: today's records and queries shown or masked.
  void apply_mask_layout();
  void 屏蔽_Click();

  // The windows of the catalogues, each opened where sale entry or a menu needs it.
  void open_goods_window(const QString& name, const QString& price);
  void open_customer_window(const QString& name);
  void open_operator_window();

  startup::AppState& state_;
  SaleEntryPanel* sale_entry_ = nullptr;
  TodayPanel* today_ = nullptr;

  QTimer* Timer1_ = nullptr;
  QPushButton* Com_打印_ = nullptr;
  QPushButton* Com_close_ = nullptr;
  QAction* 屏蔽_ = nullptr;
};

}  // namespace tavuro::cashier
