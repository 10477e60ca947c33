#include "cashier/frm_shop.h"

#include "cashier/admin_gate.h"
#include "cashier/catalogue_lists.h"
#include "cashier/frm_shop_geometry.h"
#include "cashier/receipt_number.h"
#include "cashier/title_clock.h"
#include "catalogues/customer_window.h"
#include "catalogues/goods_window.h"
#include "catalogues/operator_window.h"
#include "platform/app_info.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "query/frm_query.h"
#include "reports/doc_window.h"
#include "reports/frm_print.h"
#include "reports/frm_print_settings.h"
#include "reports/report_commands.h"
#include "sales/labels.h"
#include "startup/data_files.h"
#include "store/guarded.h"
#include "store/schemas.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <limits>

namespace tavuro::cashier {

namespace {

// Replaces the items of a combo box; its text stays empty until it is set.
void fill_combo(QComboBox* combo, const QStringList& items) {
  combo->clear();
  combo->addItems(items);
  combo->setCurrentIndex(-1);
  combo->setEditText(QString());
}

}  // namespace

Frm_shop::Frm_shop(startup::AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_shop"));
  setWindowTitle(platform::app_title());
  build_controls();
  build_menus();

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setInterval(500);
  connect(Timer1_, &QTimer::timeout, this, &Frm_shop::Timer1_Timer);
  Timer2_ = new QTimer(this);
  Timer2_->setObjectName(QStringLiteral("Timer2"));
  Timer2_->setInterval(500);
  connect(Timer2_, &QTimer::timeout, this, &Frm_shop::Timer2_Timer);

  connect(Command1_, &QPushButton::clicked, this, &Frm_shop::Command1_Click);
  connect(Command2_, &QPushButton::clicked, this, &Frm_shop::Command2_Click);
  connect(Command3_, &QPushButton::clicked, this, &Frm_shop::Command3_Click);
  connect(Command4_, &QPushButton::clicked, this, &Frm_shop::Command4_Click);
  connect(Com_close_, &QPushButton::clicked, this, [this] {
    press(Com_close_);
    close();
  });
  connect(退出_, &QAction::triggered, this, &QWidget::close);
  connect(刷新数据_, &QAction::triggered, this, &Frm_shop::read_myfile);
  connect(Combo1_, &QComboBox::activated, this, [this] { find_price(); });
  connect(Co_查操作员_, &QComboBox::activated, this, [this] { Co_查操作员_Click(); });
  connect(Co_查商品_, &QComboBox::activated, this, [this] { Co_查商品_Click(); });
  for (QPushButton* head : Com_cap_) connect(head, &QPushButton::clicked, this, [this] { activateWindow(); });
  wire(注册商品_, [this] { catalogues::frm_注册商品(state_, *this, this).exec(); });
  wire(注册固定客户_, [this] { catalogues::Frm_注册客户(state_, *this, this).exec(); });
  wire(输入操作员_, [this] { open_operator_window(); });

  for (QObject* watched : std::initializer_list<QObject*>{Combo1_, Text1_, Text2_, Text3_, Combo2_, Text4_,
                                                          Co_查商品_, Co_查操作员_, List1_->viewport(),
                                                          List2_->viewport()}) {
    watched->installEventFilter(this);
  }

  wire_admin_commands();
  wire(查询_, [this] {
    if (check_admin_password(state_)) query::open_query_window(state_, this);
  });
  wire(Com_打印_, [this] {
    if (check_admin_password(state_)) reports::print_day_report(state_, this, state_.paths.dayFile);
  });
  wire(打印_, [this] {
    if (check_admin_password(state_)) reports::choose_and_print_day_report(state_, this);
  });
  wire(自由式打印_, [this] {
    if (check_admin_password(state_)) reports::Frm_print(state_, this).exec();
  });
  wire(打印窗口_, [this] { reports::show_document_window(state_, this, false); });
  wire(打印设置_, [this] { reports::Frm_打印设置(state_, this).exec(); });
  Form_Load();
  Timer1_->start();
  Timer1_Timer();
}

Frm_shop::~Frm_shop() = default;

void Frm_shop::Form_Load() {
  queryCountdown_ = 20;
  state_.tempTotal = 0.0f;
  state_.tempLineCount = 0;

  read_KeFu_file();
  read_shop_file();
  read_usefile();
  read_myfile();

  Command1_->setEnabled(false);
  Command2_->setEnabled(false);
  Command3_->setEnabled(false);
  Command4_->setEnabled(true);
  set_entry_enabled(false);

  Label3_->setText(receipt_caption(state_.receiptCounter));
  Text4_->setText(QStringLiteral("单号查询"));
  Timer2_->stop();
  apply_mask_layout();
}

void Frm_shop::apply_mask_layout() {
  const MaskLayout& layout = state_.maskSetting == startup::kMaskOff ? kUnmasked : kMasked;
  屏蔽_->setText(layout.recordsVisible ? QStringLiteral("屏蔽") : QStringLiteral("屏显"));
  Frame1_->resize(Frame1_->width(), twips_to_pixels(layout.frame1Twips));
  List1_->resize(List1_->width(), twips_to_pixels(layout.list1Twips));
  Frame2_->setVisible(layout.recordsVisible);
  Frame4_->setVisible(layout.recordsVisible);
  List2_->setVisible(layout.recordsVisible);
  setFixedSize(kWindowWidth, twips_to_pixels(layout.windowTwips) - kCaptionPixels);
}

void Frm_shop::read_shop_file() {
  const QString& path = state_.paths.shopFile;
  store::work_on_file(QStringLiteral("read_shop_file"), path, state_.paths.shopBackup, [&] {
    const QStringList names = goods_names(path);
    fill_combo(Combo1_, names);
    fill_combo(Co_查商品_, QStringList{sales::kAllEntry} + names);
    if (!names.isEmpty()) Co_查商品_->setCurrentIndex(0);
  });
}

void Frm_shop::find_price() {
  const QString& path = state_.paths.shopFile;
  store::work_on_file(QStringLiteral("find_price"), path, state_.paths.shopBackup, [&] {
    if (const std::optional<QString> price = price_of(path, Combo1_->currentText())) Text2_->setText(*price);
  });
}

void Frm_shop::read_usefile() {
  store::guarded(store::show_message(QStringLiteral("数据出错！[read_usefile]")), [&] {
    if (!QFileInfo(state_.paths.useFile).isFile()) startup::make_usefile(state_);
    const QStringList names = list_names(state_.paths.useFile);
    fill_combo(Co_查操作员_, QStringList{sales::kAllEntry} + names);
    if (!names.isEmpty()) Co_查操作员_->setCurrentIndex(0);
  });
}

void Frm_shop::read_KeFu_file() {
  store::guarded(store::show_message(QStringLiteral("数据出错！[read_KeFu_file]")), [&] {
    if (!QFileInfo(state_.paths.kefuFile).isFile()) startup::make_KeFu_file(state_);
    fill_combo(Combo2_, list_names(state_.paths.kefuFile));
    if (Combo2_->count() > 0 && state_.customerRegistered) {
      // The customer the customer window has just added on request of the sale entry.
      Combo2_->setEditText(Combo2_->itemText(Combo2_->count() - 1));
      state_.customerRegistered = false;
    }
  });
}

void Frm_shop::setGoodsText(const QString& text) { Combo1_->setEditText(text); }

void Frm_shop::Timer1_Timer() { setWindowTitle(caption_with_operator(platform::now(), state_.currentOperator)); }

void Frm_shop::Timer2_Timer() {
  if (queryCountdown_ > std::numeric_limits<qint16>::min()) --queryCountdown_;
  if (queryCountdown_ < 0) {
    Text4_->setText(QStringLiteral("单号查询"));
    Timer2_->stop();
  }
}

void Frm_shop::wire(QAction* action, std::function<void()> command) {
  connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
  wired_.insert(action);
  action->setEnabled(true);
}

void Frm_shop::wire(QPushButton* button, std::function<void()> command) {
  connect(button, &QPushButton::clicked, this, [this, button, command = std::move(command)] {
    press(button);
    command();
  });
  wired_.insert(button);
  button->setEnabled(true);
}

// Unregistered goods, answered Yes: the goods window opens with the name and the price
// typed so far, and the name is remembered as the pending goods name; when it closes, the
// goods window reloads the goods box and puts the pending name back into it.
void Frm_shop::open_goods_window(const QString& name, const QString& price) {
  catalogues::frm_注册商品 window(state_, *this, this);
  window.Text1()->setText(name);
  window.Text2()->setText(price);
  state_.pendingGoodsName = name;
  window.exec();
}

// Unregistered customer, answered Yes: with the customer-registered flag set, the reload
// when the customer window closes shows the customer just added in the customer box.
void Frm_shop::open_customer_window(const QString& name) {
  state_.customerRegistered = true;
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

bool Frm_shop::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) break;
      QChar typed;
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        typed = QLatin1Char('\r');
      } else if (key->key() == Qt::Key_Backspace) {
        typed = QLatin1Char('\b');
      } else if (key->matches(QKeySequence::Paste)) {
        typed = QChar(0x16);  // a paste is a keystroke like any other
      } else if (!key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        typed = key->text().front();
      } else {
        break;
      }
      if (entry_key(watched, typed)) return true;
      break;
    }
    case QEvent::InputMethod:
      if (watched == Combo1_ && !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty()) {
        Text2_->setText(QStringLiteral("0"));
      }
      break;
    case QEvent::FocusIn:
      entry_focus_in(watched, static_cast<QFocusEvent*>(event)->reason());
      break;
    case QEvent::FocusOut:
      entry_focus_out(watched, static_cast<QFocusEvent*>(event)->reason());
      break;
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::RightButton) break;
      if (watched == List1_->viewport()) {
        list_popup(List1_, list1_右击_, mouse->globalPosition().toPoint());
        return true;
      }
      if (watched == List2_->viewport()) {
        list_popup(List2_, list2_右击_, mouse->globalPosition().toPoint());
        return true;
      }
      break;
    }
    case QEvent::MouseMove:
      if (watched == List1_->viewport()) list_tool_tip(List1_);
      if (watched == List2_->viewport()) list_tool_tip(List2_);
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tavuro::cashier
