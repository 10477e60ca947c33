// The administration commands of the cashier window: deleting a line of the current
// receipt, handing a recorded line to the edit window, the screen mask, the password,
// sending a day file, help and about.

#include "cashier/admin_gate.h"
#include "cashier/list_lines.h"
#include "cashier/frm_about.h"
#include "cashier/frm_browser.h"
#include "cashier/frm_password.h"
#include "cashier/frm_record_edit.h"
#include "cashier/frm_shop.h"
#include "cashier/receipt_line_delete.h"
#include "cashier/send_file.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "store/backup.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>

namespace tavuro::cashier {

namespace {

QString selected_line(const QListWidget* list) {
  const QListWidgetItem* current = list->currentItem();
  return current != nullptr && current->isSelected() ? current->text() : QString();
}

}  // namespace

void Frm_shop::wire_admin_commands() {
  wire(删除_, [this] { 删除_Click(); });
  wire(编辑记录_, [this] { edit_selected_record(); });
  wire(删除记录_, [this] { edit_selected_record(); });  // the deleting is done in the edit window
  wire(屏蔽_, [this] { 屏蔽_Click(); });
  wire(设置管理员密码_, [this] { Frm_PassWord(state_, this).exec(); });
  wire(发送文件_, [this] {
    if (check_admin_password(state_)) send_day_file(state_.paths.appDir);
  });
  wire(内容_, [this] { show_help_page(state_, this); });
  wire(关于_, [this] { frm_About(state_, this).exec(); });
}

void Frm_shop::删除_Click() {
  const QString line = selected_line(List1_);
  if (line.isEmpty() || !platform::ask_yes_no(delete_line_question(line))) return;

  for (int row = List1_->count() - 1; row >= 0; --row) {
    if (List1_->item(row)->text() == line) delete List1_->takeItem(row);
  }
  if (List1_->count() > 0) List1_->setCurrentRow(List1_->count() - 1);

  const QString& dayFile = state_.paths.dayFile;
  std::optional<float> amount;
  int attempts = 0;
  const bool done = store::recovered(QStringLiteral("删除"), dayFile, state_.paths.dayBackup, [&] {
    ++attempts;
    amount = delete_first_sale(dayFile, goods_of_line(line), time_of_line(line));
  });
  if (!done) return;
  if (!amount) return;  // no day file, or nothing in it: only the receipt line goes
  // A day file just restored from its backup is not copied back over it.
  if (attempts == 1) store::backup_file(dayFile, state_.paths.dayBackup, store::SourceCheck::AlreadySound);
  read_myfile();
  state_.tempTotal -= *amount;
  Label4_->setText(textlayout::money_of(state_.tempTotal) + QStringLiteral("元"));
}

void Frm_shop::edit_selected_record() {
  const QString line = selected_line(List2_);
  if (line.isEmpty()) {
    platform::inform(QStringLiteral("你还未选记录."));
    return;
  }
  if (!check_admin_password(state_)) return;
  state_.editGoods = goods_of_line(line);
  state_.editTime = time_of_line(line);
  state_.editPath = state_.paths.dayFile;
  Frm_编辑(state_, this).exec();
}

void Frm_shop::屏蔽_Click() {
  const bool masking = state_.maskSetting == startup::kMaskOff;
  if (!masking && !check_admin_password(state_)) return;
  state_.maskSetting = masking ? startup::kMaskOn : startup::kMaskOff;
  platform::write_one_line_file(state_.paths.publicFile, state_.maskSetting);  // failures are not reported
  apply_mask_layout();
}

}  // namespace tavuro::cashier
