#include "cashier/frm_shop.h"

#include "cashier/admin_gate.h"
#include "cashier/catalogue_lists.h"
#include "cashier/frm_shop_geometry.h"
#include "cashier/sale_entry_panel.h"
#include "cashier/title_clock.h"
#include "cashier/today_panel.h"
#include "catalogues/customer_window.h"
#include "catalogues/goods_window.h"
#include "catalogues/operator_window.h"
#include "platform/app_info.h"
#include "platform/clock.h"
#include "platform/text_file.h"
#include "startup/data_files.h"
#include "store/guarded.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace tavuro::cashier {

Frm_shop::Frm_shop(startup::AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_shop"));
  setWindowTitle(platform::app_title());
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("centralWidget"));
  setCentralWidget(central);

  sale_entry_ = new SaleEntryPanel(state_, central, SaleEntryHooks{
      .open_goods_window = [this](const QString& name, const QString& price) { open_goods_window(name, price); },
      .open_customer_window = [this](const QString& name) { open_customer_window(name); },
      .open_operator_window = [this] { open_operator_window(); },
      .close_window = [this] { close(); },
      .add_to_today = [this](const sales::SaleColumns& columns, const store::RecordRef& record) {
        today_->add_sale(columns, record);
      },
      .reload_today = [this] { today_->read_myfile(); },
  });
  today_ = new TodayPanel(state_, central);
  build_commands(central);
  build_menus();
  // The keyboard goes from today's list to the window's buttons, then to the queries.
  setTabOrder(findChild<QListWidget*>(QStringLiteral("List2")), Com_打印_);
  setTabOrder(Com_打印_, Com_close_);

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setInterval(500);
  connect(Timer1_, &QTimer::timeout, this, &Frm_shop::Timer1_Timer);

  Form_Load();
  Timer1_->start();
  Timer1_Timer();
}

Frm_shop::~Frm_shop() = default;

void Frm_shop::Form_Load() {
  read_KeFu_file();
  read_shop_file();
  read_usefile();
  read_myfile();
  sale_entry_->start_without_receipt();
  today_->start();
  apply_mask_layout();
}

void Frm_shop::apply_mask_layout() {
  const MaskLayout& layout = state_.mask_setting == startup::kMaskOff ? kUnmasked : kMasked;
  屏蔽_->setText(layout.records_visible ? QStringLiteral("屏蔽") : QStringLiteral("屏显"));
  sale_entry_->set_record_heights(twips_to_pixels(layout.frame1_twips), twips_to_pixels(layout.list1_twips));
  today_->set_shown(layout.records_visible);
  setFixedSize(kWindowWidth, twips_to_pixels(layout.window_twips) - kCaptionPixels);
}

void Frm_shop::屏蔽_Click() {
  const bool masking = state_.mask_setting == startup::kMaskOff;
  if (!masking && !check_admin_password(state_)) return;
  state_.mask_setting = masking ? startup::kMaskOn : startup::kMaskOff;
  platform::write_one_line_file(state_.paths.public_file, state_.mask_setting);  // failures are not reported
  apply_mask_layout();
}

void Frm_shop::read_shop_file() {
  const QString& path = state_.paths.shop_file;
  store::work_on_file(QStringLiteral("read_shop_file"), path, state_.paths.shop_backup, [&] {
    const QStringList names = goods_names(path);
    sale_entry_->show_goods(names);
    today_->show_goods_filter(names);
  });
}

void Frm_shop::find_price() { sale_entry_->find_price(); }

void Frm_shop::read_usefile() {
  store::guarded(store::show_message(QStringLiteral("数据出错！[read_usefile]")), [&] {
    if (!QFileInfo(state_.paths.use_file).isFile()) startup::make_usefile(state_);
    today_->show_operator_filter(list_names(state_.paths.use_file));
  });
}

void Frm_shop::read_KeFu_file() {
  store::guarded(store::show_message(QStringLiteral("数据出错！[read_KeFu_file]")), [&] {
    if (!QFileInfo(state_.paths.kefu_file).isFile()) startup::make_KeFu_file(state_);
    const QStringList names = list_names(state_.paths.kefu_file);
    sale_entry_->show_customers(names);
    if (!names.isEmpty() && state_.customer_registered) {
      // The customer the customer window has just added on request of the sale entry.
      sale_entry_->set_customer_text(names.last());
      state_.customer_registered = false;
    }
  });
}

void Frm_shop::read_myfile() { today_->read_myfile(); }

void Frm_shop::set_goods_text(const QString& text) { sale_entry_->set_goods_text(text); }

void Frm_shop::Timer1_Timer() { setWindowTitle(caption_with_operator(platform::now(), state_.current_operator)); }

// Unregistered goods, answered Yes: the goods window opens with the name and the price
// typed so far, and the name is remembered as the pending goods name; when it closes, the
// goods window reloads the goods box and puts the pending name back into it.
void Frm_shop::open_goods_window(const QString& name, const QString& price) {
  catalogues::frm_注册商品 window(state_, *this, this);
  window.Text1()->setText(name);
  window.Text2()->setText(price);
  state_.pending_goods_name = name;
  window.exec();
}

// Unregistered customer, answered Yes: with the customer-registered flag set, the reload
// when the customer window closes shows the customer just added in the customer box.
void Frm_shop::open_customer_window(const QString& name) {
  state_.customer_registered = true;
  catalogues::Frm_注册客户 window(state_, *this, this);
  window.Text1()->setText(name);
  window.exec();
}

// A line recorded without a current operator, and the menu command.
void Frm_shop::open_operator_window() { catalogues::Frm_输入操作(state_, *this, this).exec(); }

void Frm_shop::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  // The program runs as long as this window is open, whatever other windows are open.
  if (event->isAccepted()) QCoreApplication::quit();
}

}  // namespace tavuro::cashier
