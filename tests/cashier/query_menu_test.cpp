#include "admin_window_driving.h"
#include "cashier_window.h"

#include "cashier/admin_gate.h"

#include <QDialog>

namespace tavuro::cashier {
namespace {

using testing::CashierWindow;

TEST(QueryMenu, OpensTheQueryWindowModallyBehindThePassword) {
  CashierWindow cashier;
  cashier.shop.state.admin_password = QStringLiteral("Boss1");
  cashier.open();
  QAction* query = cashier.action("查询");
  ASSERT_TRUE(query->isEnabled());

  cashier.dialogs.answer_input(QStringLiteral("boss1"));
  query->trigger();
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{wrong_password_message()});
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  cashier.dialogs.clear();
  cashier.dialogs.answer_input(QStringLiteral("Boss1"));
  QString opened;
  testing::on_next_modal([&opened](QWidget* modal) {
    opened = modal->objectName();
    static_cast<QDialog*>(modal)->reject();
  });
  query->trigger();
  EXPECT_EQ(opened, QStringLiteral("Frm_查询"));
  EXPECT_TRUE(cashier.dialogs.messages().isEmpty());
}

}  // namespace
}  // namespace tavuro::cashier
