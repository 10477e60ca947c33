#pragma once
// Today's records in the cashier window: the list of the day's sale lines with its count,
// total and view label, the operator and goods filters, the receipt-number query with the
// timer that puts its placeholder back, and the list's popup that hands a line to the
// record edit window.

#include "cashier/today_view.h"
#include "platform/key_input.h"
#include "startup/app_state.h"

#include <QObject>
#include <QString>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTimer;

namespace tavuro::cashier {

class TodayPanel final : public QObject {
 public:
  // Builds the controls on area, a child of the window.
  TodayPanel(startup::AppState& state, QWidget* area);

  // The state at window load: the receipt query idle with its placeholder.
  void start();

  void show_goods_filter(const QStringList& names);
  void show_operator_filter(const QStringList& names);
  // Today's records and queries shown, or hidden by the mask.
  void set_shown(bool shown);

  // A line just written to the day file joins the list, its count and today's total.
  void add_sale(const sales::SaleColumns& columns, const store::RecordRef& record);

  void read_myfile();
  void Read_x_myfile(const QString& fieldA, const QString& valueA, const QString& fieldB, const QString& valueB);
  bool read_receipt_lines();
  void Co_查操作员_Click();
  void Co_查商品_Click();
  void Timer2_Timer();
  // 编辑记录 and 删除记录: the selected line goes to the record edit window, which also
  // deletes.
  void edit_selected_record();
  // 导出…: the view shown, as .xlsx or .csv, behind the password.
  void export_view();

  const TodayView& view() const { return view_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build_controls(QWidget* area);
  void build_popup(QWidget* area);
  void connect_controls();

  bool key(QObject* watched, const platform::KeyInput& key);
  void filter_today(const QString& mode);
  void Text4_Enter();
  void show_view(TodayView::Kind kind, const DayView& view);

  startup::AppState& state_;
  TodayView view_;
  QString filter_mode_;
  qint16 query_countdown_ = 0;

  QGroupBox* Frame2_ = nullptr;
  QListWidget* List2_ = nullptr;
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
  QTimer* Timer2_ = nullptr;
  QMenu* list2_右击_ = nullptr;
  QAction* 刷新数据_ = nullptr;
  QAction* 编辑记录_ = nullptr;
  QAction* 删除记录_ = nullptr;
  QAction* 导出_ = nullptr;
};

}  // namespace tavuro::cashier
