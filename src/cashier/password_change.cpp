#include "cashier/password_change.h"

#include "platform/dialogs.h"
#include "platform/text_file.h"

namespace tavuro::cashier {

bool change_admin_password(startup::AppState& state, const QString& oldPassword, const QString& newPassword) {
  using platform::dialogs;
  using platform::Icon;
  if (oldPassword != state.adminPassword) {
    dialogs().message(QStringLiteral("请核对旧密码,重新输入!"), Icon::Critical);
    return false;
  }
  if (newPassword.isEmpty() &&
      !platform::ask_yes_no(QStringLiteral("注意： 新密码为空，表示不设密码！  是否要继续呢？"))) {
    return false;
  }
  // A missing p.dat is written afresh: a password the user was told is set must also be
  // there after the next start.
  if (!platform::write_one_line_file(state.paths.pFile, newPassword)) {
    platform::warn(QStringLiteral("写密码文件时出错.[p.dat]"));
    return false;
  }
  state.adminPassword = newPassword;
  platform::inform(QStringLiteral("成功改变了密码！"));
  return true;
}

}  // namespace tavuro::cashier
