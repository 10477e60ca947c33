#include "cashier/admin_gate.h"

#include "platform/app_info.h"
#include "platform/dialogs.h"

#include <QStringList>

namespace tavuro::cashier {

QString wrong_password_message() {
  const QString rule(16, QChar(0x2501));  // ━
  const QString top = QChar(0x250F) + rule + QChar(0x2513);     // ┏…┓
  const QString bottom = QChar(0x2517) + rule + QChar(0x251B);  // ┗…┛
  return QStringList{top,
                     QStringLiteral("        输入了错误的管理密码！    "),
                     bottom,
                     QString(),
                     top,
                     QStringLiteral("   如果你不是管理员，请不要乱来！ "),
                     bottom + QStringLiteral("       ")}
      .join(QLatin1Char('\r'));
}

bool check_admin_password(const startup::AppState& state) {
  if (state.admin_password.isEmpty()) return true;
  const QString typed = platform::dialogs()
                            .input(QStringLiteral("输入你的管理密码："), platform::app_title(), QString())
                            .value_or(QString());
  if (typed == state.admin_password) return true;
  platform::warn(wrong_password_message());
  return false;
}

}  // namespace tavuro::cashier
