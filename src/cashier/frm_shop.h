#pragma once
// The cashier window: the program's main window and the only one that stays open. It
// holds the sale entry, the temporary record of the current receipt, today's records with
// their filters, and the menus that open every other window. Closing it ends the program.
//
// Commands whose windows are built elsewhere are present from the start but disabled;
// wire() connects one and enables it.

#include "startup/app_state.h"
#include "startup/cashier_link.h"

#include <QMainWindow>
#include <QSet>

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
class QTimer;

namespace tavuro::cashier {

struct DayView;

class Frm_shop final : public QMainWindow, public startup::CashierLink {
 public:
  explicit Frm_shop(startup::AppState& state, QWidget* parent = nullptr);
  ~Frm_shop() override;

  // What the catalogue windows ask of the cashier window.
  void read_shop_file() override;
  void read_usefile() override;
  void read_KeFu_file() override;
  void read_myfile() override;
  void setGoodsText(const QString& text) override;

  // The unit price of the goods named in the goods box, from shop.dat.
  void find_price();
  // The layout of the mask setting: today's records and queries shown or masked.
  void apply_mask_layout();

  // Connects a command whose target is built elsewhere and enables it. A popup item
  // that depends on a selected line is enabled only while one is selected.
  void wire(QAction* action, std::function<void()> command);
  void wire(QPushButton* button, std::function<void()> command);

  void Timer1_Timer();
  void Timer2_Timer();

  // Sale entry.
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  bool check_goods(const QString& name);
  bool check_customer(const QString& name);

  // Today's records.
  void Read_x_myfile(const QString& fieldA, const QString& valueA, const QString& fieldB, const QString& valueB);
  bool read_receipt_lines();
  void Co_查操作员_Click();
  void Co_查商品_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Building the window (frm_shop_build.cpp).
  void build_controls();
  void build_menus();
  void build_popups();
  void place_headers(QGroupBox* frame, QListWidget* list, int first);

  void Form_Load();

  // Hooks for the windows of the catalogues: each is called where that window opens.
  void open_goods_window(const QString& name, const QString& price);
  void open_customer_window(const QString& name);
  void open_operator_window();

  // Sale entry handlers (frm_shop_entry.cpp).
  bool entry_key(QObject* watched, QChar key);
  void entry_focus_in(QObject* watched, Qt::FocusReason reason);
  void entry_focus_out(QObject* watched, Qt::FocusReason reason);
  void Combo1_Enter();
  void Text2_LostFocus();
  void take_focus_back(QWidget* widget);
  void press(QPushButton* button);
  void set_entry_enabled(bool enabled);
  bool record_line();

  // Today's records handlers (frm_shop_records.cpp).
  void show_view(const DayView& view);
  void filter_today(const QString& mode);
  void Text4_Enter();
  void list_popup(QListWidget* list, QMenu* popup, const QPoint& at);
  void list_tool_tip(QListWidget* list);

  // Administration commands (frm_shop_admin.cpp).
  void wire_admin_commands();
  void 删除_Click();
  void edit_selected_record();
  void 屏蔽_Click();

  startup::AppState& state_;

  float todayTotal_ = 0.0f;
  qint16 queryCountdown_ = 0;
  QString filterMode_;
  QString recordedTime_;
  bool restoringFocus_ = false;
  QSet<QObject*> wired_;

  QTimer* Timer1_ = nullptr;
  QTimer* Timer2_ = nullptr;

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
  QGroupBox* Frame2_ = nullptr;
  QListWidget* List2_ = nullptr;
  std::array<QPushButton*, 12> Com_cap_{};
  QLabel* Label7_ = nullptr;
  QLabel* Label6_ = nullptr;
  QLabel* Label5_ = nullptr;
  QGroupBox* Frame4_ = nullptr;
  QLabel* Label10_ = nullptr;
  QLineEdit* Text4_ = nullptr;
  QLabel* Label9_ = nullptr;
  QComboBox* Co_查商品_ = nullptr;
  QLabel* Label8_ = nullptr;
  QComboBox* Co_查操作员_ = nullptr;
  QPushButton* Com_close_ = nullptr;
  QPushButton* Com_打印_ = nullptr;

  QMenu* 文件_ = nullptr;
  QAction* 查询_ = nullptr;
  QAction* 打印设置_ = nullptr;
  QAction* 发送文件_ = nullptr;
  QAction* 打印_ = nullptr;
  QAction* 自由式打印_ = nullptr;
  QAction* 打印窗口_ = nullptr;
  QAction* 退出_ = nullptr;
  QMenu* 编辑_ = nullptr;
  QAction* 注册商品_ = nullptr;
  QAction* 注册固定客户_ = nullptr;
  QAction* 输入操作员_ = nullptr;
  QAction* 设置管理员密码_ = nullptr;
  QAction* 屏蔽_ = nullptr;
  QMenu* 帮助_ = nullptr;
  QAction* 内容_ = nullptr;
  QAction* 关于_ = nullptr;
  QMenu* list1_右击_ = nullptr;
  QAction* 删除_ = nullptr;
  QMenu* list2_右击_ = nullptr;
  QAction* 刷新数据_ = nullptr;
  QAction* 编辑记录_ = nullptr;
  QAction* 删除记录_ = nullptr;
};

}  // namespace tavuro::cashier
