// Pictures of the three windows for a look at their layout: written only when
// TAVURO_SCREENSHOT_DIR names a folder.

#include "catalogues/customer_window.h"
#include "catalogues/goods_window.h"
#include "catalogues/operator_window.h"

#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "window_driver.h"

#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <gtest/gtest.h>

namespace tavuro::catalogues {
namespace {

using namespace testing;

void save(QWidget& window, const QString& name) {
  show_active(window);
  const QString folder = qEnvironmentVariable("TAVURO_SCREENSHOT_DIR");
  EXPECT_TRUE(window.grab().save(QDir(folder).filePath(name))) << name.toStdString();
}

TEST(Screenshots, CatalogueWindows) {
  if (qEnvironmentVariableIsEmpty("TAVURO_SCREENSHOT_DIR")) GTEST_SKIP() << "TAVURO_SCREENSHOT_DIR not set";
  ShopFixture shop;
  shop.start_up();
  ScriptedDialogs dialogs;
  FakeCashier cashier;
  shop.add_goods(QStringLiteral("可口可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral("Cola 2L"), QStringLiteral("7.80"));
  shop.add_goods(QStringLiteral("八个中文字符的名"), QStringLiteral("12345.67"));
  shop.add_goods(QStringLiteral("abcdefghijklmnop"), QStringLiteral("0.50"));
  shop.add_goods(QStringLiteral("雪碧 330ml"), QStringLiteral("3.00"));
  for (const char* name : {"001", "张三丰", "李四", "abcdef"}) shop.add_operator(QString::fromUtf8(name));
  for (const char* name : {"王五公司", "Acme Ltd.", "老张饭店"}) shop.add_customer(QString::fromUtf8(name));

  frm_注册商品 goods(shop.state, cashier);
  goods.Text1()->setText(QStringLiteral("奶茶"));
  goods.Text2()->setText(QStringLiteral("0"));
  save(goods, QStringLiteral("goods_window.png"));
  Frm_输入操作 operators(shop.state, cashier);
  save(operators, QStringLiteral("operator_window.png"));
  Frm_注册客户 customers(shop.state, cashier);
  save(customers, QStringLiteral("customer_window.png"));
}

}  // namespace
}  // namespace tavuro::catalogues
