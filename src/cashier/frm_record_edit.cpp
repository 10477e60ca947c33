#include "cashier/frm_record_edit.h"

#include "cashier/focus_select.h"
#include "cashier/sale_entry.h"
#include "platform/dialogs.h"
#include "platform/typing_guard.h"
#include "sales/sale_line.h"
#include "startup/paths.h"
#include "store/backup.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace tavuro::cashier {

namespace {

using platform::dialogs;
using platform::Icon;
using textlayout::trim_spaces;

const QString kCaption = QStringLiteral("编辑");

bool is_enter(const QKeyEvent* event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }

}  // namespace

Frm_编辑::Frm_编辑(startup::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_编辑"));
  setWindowTitle(kCaption);
  setModal(true);

  auto* grid = new QGridLayout;
  const auto addRow = [this, grid](int row, const char* label_name, const QString& caption, const char* box_name) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString::fromUtf8(label_name));
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromUtf8(box_name));
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
  };
  Text1_ = addRow(0, "Label6", QStringLiteral("单号："), "Text1");
  Text2_ = addRow(1, "Label1", QStringLiteral("客户："), "Text2");
  Text3_ = addRow(2, "Label2", QStringLiteral("商品："), "Text3");
  Text4_ = addRow(3, "Label3", QStringLiteral("数量："), "Text4");
  Text5_ = addRow(4, "Label4", QStringLiteral("单价："), "Text5");
  Text6_ = addRow(5, "Label5", QStringLiteral("金额："), "Text6");
  Text7_ = addRow(6, "Label7", QStringLiteral("时间："), "Text7");
  Text4_->setMaxLength(sales::kQuantityWidth);
  Text5_->setMaxLength(sales::kPriceWidth);
  Text6_->setMaxLength(sales::kAmountWidth);
  Text7_->setReadOnly(true);
  for (QLineEdit* box : {Text1_, Text2_, Text3_, Text4_, Text5_, Text6_}) select_all_on_focus(box);
  for (QLineEdit* box : {Text1_, Text4_, Text5_, Text6_}) box->installEventFilter(this);
  platform::guard_typing(Text1_, platform::Characters::Digits);
  for (QLineEdit* box : {Text4_, Text5_, Text6_}) platform::guard_typing(box, platform::Characters::DigitsAndPoint);

  const auto addButton = [this](const char* name, const QString& caption, const QString& toolTip) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromUtf8(name));
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
  };
  QPushButton* Command1 = addButton("Command1", QStringLiteral("更新"), QStringLiteral("保存编辑过的内容"));
  QPushButton* Command2 = addButton("Command2", QStringLiteral("删除"), QStringLiteral("删除当前记录"));
  QPushButton* Command3 = addButton("Command3", QStringLiteral("关闭"), QStringLiteral("关闭窗口"));
  connect(Command1, &QPushButton::clicked, this, &Frm_编辑::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Frm_编辑::Command2_Click);
  // Closing takes no focus, so that an empty box never keeps the window from closing.
  Command3->setFocusPolicy(Qt::TabFocus);
  connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command1);
  buttons->addWidget(Command2);
  buttons->addWidget(Command3);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  resize(6300 / 15, sizeHint().height());

  Form_Load();
}

Frm_编辑::~Frm_编辑() { editor_.close(); }

void Frm_编辑::Form_Load() {
  if (state_.edit_record.path.isEmpty()) return;
  const store::RecordRef record = std::exchange(state_.edit_record, {});
  R_File(record);
  setWindowTitle(kCaption + record.path);
}

void Frm_编辑::R_File(const store::RecordRef& record) {
  RecordLookup lookup = RecordLookup::Gone;
  if (!store::guarded(QStringLiteral("R_File"),
                      [&] { lookup = editor_.open(record, startup::backup_path_of(record.path)); })) {
    return;
  }
  switch (lookup) {
    case RecordLookup::NoFile:
      dialogs().message(QStringLiteral("找不到可用的数据文件[R_File]"), Icon::Information);
      return;
    case RecordLookup::NoRecords:
      dialogs().message(QStringLiteral("你查找的文件没有记录。[R_File]"), Icon::Information);
      return;
    case RecordLookup::Gone:
      record_gone_ = true;
      platform::warn(sales::stale_record_message());
      return;
    case RecordLookup::Found: fill(editor_.record()); return;
  }
}

sales::ChangeContext Frm_编辑::change_context() const {
  return sales::change_context(sales::journal_path(QFileInfo(editor_.path()).absolutePath()), state_.current_operator);
}

void Frm_编辑::back_up() {
  // The file was found sound when it was opened for the change.
  store::backup_file(editor_.path(), startup::backup_path_of(editor_.path()), store::SourceCheck::AlreadySound);
}

void Frm_编辑::fill(const EditedRecord& record) {
  Text1_->setText(record.receipt_no);
  Text2_->setText(record.customer);
  Text3_->setText(record.goods);
  Text4_->setText(record.quantity);
  Text5_->setText(record.price);
  Text6_->setText(record.amount);
  Text7_->setText(record.time);
}

bool Frm_编辑::no_record() {
  if (editor_.has_record()) return false;
  dialogs().message(QStringLiteral("没有选中的记录。"), Icon::Information);
  return true;
}

namespace {

// A journal that refused has its own message; any other failure the window's.
store::FailureReport change_failure(const QString& text) {
  return [text](const store::StoreError& error) {
    platform::warn(error.kind() == store::StoreError::Kind::Journal ? sales::journal_failure_message() : text);
  };
}

}  // namespace

void Frm_编辑::Command1_Click() {
  if (no_record()) return;
  bool saved = false;
  if (!store::guarded(change_failure(QStringLiteral("保存记录时发生错误。")), [&] {
        saved = editor_.save({Text1_->text(), Text2_->text(), Text3_->text(), Text4_->text(), Text5_->text(),
                              Text6_->text(), QString()},
                             change_context());
      })) {
    return;
  }
  if (!saved) {
    platform::warn(sales::stale_record_message());
    return;
  }
  back_up();
  dialogs().message(QStringLiteral("你的修改已经保存。"), Icon::Information);
}

void Frm_编辑::Command2_Click() {
  if (no_record()) return;
  if (!platform::ask_yes_no(
          QStringLiteral("真的要删除当前的记录吗? （如果删了将会丢失当前记录的所有数据），你是否要继续？"),
          Icon::Information)) {
    return;
  }
  bool deleted = false;
  if (!store::guarded(change_failure(QStringLiteral("删除记录时发生错误。")),
                      [&] { deleted = editor_.remove(change_context()); })) {
    return;
  }
  if (!deleted) {
    platform::warn(sales::stale_record_message());
    return;
  }
  back_up();
  dialogs().message(QStringLiteral("记录已经删除！点击“确定”关闭窗口。"), Icon::Information);
  accept();
}

void Frm_编辑::done(int result) {
  editor_.close();
  QDialog::done(result);
}

bool Frm_编辑::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box == nullptr) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) return key_press(box, static_cast<QKeyEvent*>(event));
  if (event->type() == QEvent::FocusOut) {
    // Only a move of the focus inside this window counts as leaving the box, not a
    // message box or another window taking it.
    const QWidget* next = QApplication::focusWidget();
    if (returning_ == nullptr && next != nullptr && next != box && next->window() == this) lost_focus(box);
  }
  return QDialog::eventFilter(watched, event);
}

void Frm_编辑::keyPressEvent(QKeyEvent* event) {
  // Enter presses the button that has the focus; the window has no default button, so
  // Enter in a box saves nothing (saving is a click of 更新).
  if (is_enter(event)) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button != nullptr && button->isEnabled()) {
      button->click();
    }
    return;
  }
  QDialog::keyPressEvent(event);
}

bool Frm_编辑::key_press(QLineEdit* box, QKeyEvent* event) {
  if (is_enter(event)) {
    if (!trim_spaces(box->text()).isEmpty()) {
      QWidget* next = box == Text1_   ? static_cast<QWidget*>(Text2_)
                      : box == Text4_ ? static_cast<QWidget*>(Text5_)
                      : box == Text5_ ? static_cast<QWidget*>(Text6_)
                                      : findChild<QPushButton*>(QStringLiteral("Command1"));
      next->setFocus(Qt::TabFocusReason);
    }
    return true;
  }
  const platform::KeyInput key = platform::key_input(*event);
  if ((box == Text1_ ? digit_key(key) : money_key(key)) == KeyRule::Pass) return false;
  dialogs().message(QStringLiteral("只可以输入数字与小数点。"), Icon::Critical);
  return true;
}

void Frm_编辑::lost_focus(QLineEdit* box) {
  if (trim_spaces(box->text()).isEmpty()) {
    dialogs().message(QStringLiteral("你还未输入数据！"), Icon::Information);
    // The box the focus went to is not checked on the way back.
    QTimer::singleShot(0, box, [this, box] {
      returning_ = box;
      box->setFocus(Qt::OtherFocusReason);
      returning_ = nullptr;
    });
    return;
  }
  if (box == Text1_) return;
  QString text = box->text();
  box->setText(textlayout::money_text(text));
}

}  // namespace tavuro::cashier
