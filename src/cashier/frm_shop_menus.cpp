// The menus of the cashier window and its own two buttons, each connected to its command
// where it is built.

#include "cashier/admin_gate.h"
#include "cashier/frm_about.h"
#include "cashier/frm_browser.h"
#include "cashier/frm_journal.h"
#include "cashier/frm_password.h"
#include "cashier/frm_shop.h"
#include "cashier/frm_shop_geometry.h"
#include "cashier/send_file.h"
#include "cashier/shop_controls.h"
#include "catalogues/customer_window.h"
#include "catalogues/goods_window.h"
#include "query/frm_query.h"
#include "reports/doc_window.h"
#include "reports/frm_print.h"
#include "reports/frm_print_settings.h"
#include "reports/report_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace tavuro::cashier {

void Frm_shop::build_commands(QWidget* area) {
  Com_打印_ = make_button(area, QStringLiteral("Com_打印"), QStringLiteral("打印预览"),
                          QStringLiteral("打印今日出售的商品统计报表"),
                          QRect(kSideX, kWindowCommandsY, kSideWidth, kCommandHeight));
  connect(Com_打印_, &QPushButton::clicked, this, [this] {
    take_focus_for_command(Com_打印_);
    if (check_admin_password(state_)) reports::print_day_report(state_, this, state_.paths.day_file);
  });
  Com_close_ = make_button(area, QStringLiteral("Com_close"), QStringLiteral(" 退 出[&X]"), QStringLiteral("关闭程序"),
                           QRect(kSideX, kWindowCommandsY + kCommandStep, kSideWidth, kCommandHeight));
  connect(Com_close_, &QPushButton::clicked, this, [this] {
    take_focus_for_command(Com_close_);
    close();
  });
}

QAction* Frm_shop::add_command(QMenu* menu, const QString& name, const QString& caption, std::function<void()> run) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
  return action;
}

QAction* Frm_shop::add_guarded_command(QMenu* menu, const QString& name, const QString& caption,
                                       std::function<void()> run) {
  return add_command(menu, name, caption, [this, run = std::move(run)] {
    if (check_admin_password(state_)) run();
  });
}

void Frm_shop::build_menus() {
  QMenu* 文件 = menuBar()->addMenu(QStringLiteral("文件[&F]"));
  文件->setObjectName(QStringLiteral("文件"));
  add_guarded_command(文件, QStringLiteral("查询"), QStringLiteral("查询[Q]"),
                      [this] { query::open_query_window(state_, this); });
  文件->addSeparator();
  add_command(文件, QStringLiteral("打印设置"), QStringLiteral("打印设置"),
              [this] { reports::Frm_打印设置(state_, this).exec(); });
  文件->addSeparator();
  add_guarded_command(文件, QStringLiteral("发送文件"), QStringLiteral("发送文件到软盘[A:][&S]"),
                      [this] { send_day_file(state_.paths.app_dir); });
  文件->addSeparator();
  add_guarded_command(文件, QStringLiteral("打印"), QStringLiteral("打印文件[&P]"),
                      [this] { reports::choose_and_print_day_report(state_, this); });
  add_guarded_command(文件, QStringLiteral("自由式打印"), QStringLiteral("自由式打印"),
                      [this] { reports::Frm_print(state_, this).exec(); });
  add_command(文件, QStringLiteral("打印窗口"), QStringLiteral("打印"),
              [this] { reports::show_document_window(state_, this, false); });
  文件->addSeparator();
  add_command(文件, QStringLiteral("退出"), QStringLiteral("退出[&X]"), [this] { close(); });

  QMenu* 编辑 = menuBar()->addMenu(QStringLiteral("编辑[&E]"));
  编辑->setObjectName(QStringLiteral("编辑"));
  add_command(编辑, QStringLiteral("注册商品"), QStringLiteral("注册商品[&A]"),
              [this] { catalogues::frm_注册商品(state_, *this, this).exec(); });
  add_command(编辑, QStringLiteral("注册固定客户"), QStringLiteral("注册固定客户[&K]"),
              [this] { catalogues::Frm_注册客户(state_, *this, this).exec(); });
  编辑->addSeparator();
  add_command(编辑, QStringLiteral("输入操作员"), QStringLiteral("输入操作员或编号"),
              [this] { open_operator_window(); });
  编辑->addSeparator();
  add_command(编辑, QStringLiteral("设置管理员密码"), QStringLiteral("设置管理员密码"),
              [this] { Frm_PassWord(state_, this).exec(); });
  屏蔽_ = add_command(编辑, QStringLiteral("屏蔽"), QStringLiteral("屏蔽"), [this] { 屏蔽_Click(); });
  编辑->addSeparator();
  add_guarded_command(编辑, QStringLiteral("修改记录"), QStringLiteral("修改记录[&J]"),
                      [this] { open_journal_window(state_, this); });

  QMenu* 帮助 = menuBar()->addMenu(QStringLiteral("帮助[&H]"));
  帮助->setObjectName(QStringLiteral("帮助"));
  add_command(帮助, QStringLiteral("内容"), QStringLiteral("内容"), [this] { show_help_page(state_, this); });
  帮助->addSeparator();
  add_command(帮助, QStringLiteral("关于"), QStringLiteral("关于"), [this] { frm_About(state_, this).exec(); });
}

}  // namespace tavuro::cashier
