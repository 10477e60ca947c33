#include "cashier/password_change.h"

#include "platform/dialogs.h"
#include "platform/text_file.h"

namespace tavuro::cashier {

bool change_admin_password(startup::AppState& state, const QString& old_password, const QString& new_password) {
  using platform::dialogs;
  using platform::Icon;
  if (old_password != state.admin_password) {
    dialogs().message(QStringLiteral("请核对旧密码,重新输入!"), Icon::Critical);
    return false;
  }
  if (new_password.isEmpty() &&
      !platform::ask_yes_no(QStringLiteral("注意： 新密码为空，表示不设密码！  是否要继续呢？"))) {
    return false;
  }
  // A missing p.dat is written afresh: a password the user was told is set must also be
  // there after the next start.
  if (!platform::write_one_line_file(state.paths.p_file, new_password)) {
    platform::warn(QStringLiteral("写密码文件时出错.[p.dat]"));
    return false;
  }
  state.admin_password = new_password;
  platform::inform(QStringLiteral("成功改变了密码！"));
  return true;
}

}  // namespace tavuro::cashier
