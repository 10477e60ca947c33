#include "admin_window_driving.h"
#include "cashier_window.h"

#include "cashier/admin_gate.h"
#include "reports/frm_doc_print.h"

#include <QDialog>
#include <QFile>
#include <QTextEdit>

namespace tavuro::cashier {
namespace {

using testing::CashierWindow;

reports::frmDoc_print* open_document_window() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* doc = qobject_cast<reports::frmDoc_print*>(widget); doc && doc->isVisible()) return doc;
  }
  return nullptr;
}

struct ReportMenu : ::testing::Test {
  ReportMenu() {
    cashier.shop.state.admin_password = QStringLiteral("Boss1");
    cashier.shop.state.company_name = QStringLiteral("天河");
    cashier.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
    cashier.shop.add_operator(QStringLiteral("张三"));
    testing::SaleLine line;
    line.goods = QStringLiteral("可乐");
    line.amount = QStringLiteral("2.50");
    line.op = QStringLiteral("张三");
    cashier.shop.add_sale(line);
    cashier.open();
  }
  ~ReportMenu() override {
    if (auto* doc = open_document_window()) doc->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  CashierWindow cashier;
};

TEST_F(ReportMenu, TodaysReportOpensInTheDocumentWindowBehindThePassword) {
  cashier.dialogs.answer_input(QStringLiteral("boss1"));
  cashier.button("Com_打印")->click();
  EXPECT_EQ(cashier.dialogs.messages(), QStringList{wrong_password_message()});
  EXPECT_EQ(open_document_window(), nullptr);

  cashier.dialogs.clear();
  cashier.dialogs.answer_input(QStringLiteral("Boss1"));
  cashier.button("Com_打印")->click();
  reports::frmDoc_print* doc = open_document_window();
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(doc->editor()->toPlainText().contains(QStringLiteral("【2003_5_7 商品销售明细报表 】")));
  EXPECT_TRUE(doc->editor()->toPlainText().contains(QStringLiteral("可乐")));
  EXPECT_FALSE(QFile::exists(cashier.shop.file(QStringLiteral("p_file.run"))));
  EXPECT_TRUE(cashier.shop.state.current_report_file.isEmpty());
}

TEST_F(ReportMenu, PrintFileAsksForADayFile) {
  cashier.dialogs.answer_input(QStringLiteral("Boss1"));
  cashier.dialogs.cancel_file();
  cashier.action("打印")->trigger();
  const testing::ShownDialog& asked = cashier.dialogs.shown().back();
  EXPECT_EQ(asked.file.title, QStringLiteral("打开打印文件 -->"));
  EXPECT_EQ(asked.file.filter, QStringLiteral("每天的数据文件名 (*.day)|*.DAY"));
  EXPECT_EQ(asked.file.start_folder, cashier.shop.dir());
  EXPECT_EQ(open_document_window(), nullptr);

  cashier.dialogs.answer_input(QStringLiteral("Boss1"));
  cashier.dialogs.answer_file(cashier.shop.state.paths.day_file);
  cashier.action("打印")->trigger();
  ASSERT_NE(open_document_window(), nullptr);
}

TEST_F(ReportMenu, ReportWindowsOpenWithTheirGuards) {
  QString opened;
  auto close_it = [&opened](QWidget* modal) {
    opened = modal->objectName();
    modal->close();
  };
  cashier.dialogs.answer_input(QStringLiteral("Boss1"));
  testing::on_next_modal(close_it);
  cashier.action("自由式打印")->trigger();
  EXPECT_EQ(opened, QStringLiteral("Frm_print"));

  testing::on_next_modal(close_it);
  cashier.action("打印设置")->trigger();  // no password
  EXPECT_EQ(opened, QStringLiteral("Frm_打印设置"));

  cashier.action("打印窗口")->trigger();  // no password, not modal
  reports::frmDoc_print* doc = open_document_window();
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(doc->editor()->document()->isEmpty());
  EXPECT_EQ(cashier.dialogs.shown().size(), 1u);
}

}  // namespace
}  // namespace tavuro::cashier
