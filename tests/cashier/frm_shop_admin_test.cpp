#include "cashier/admin_gate.h"
#include "cashier/receipt_line_delete.h"
#include "cashier/send_file.h"
#include "platform/text_file.h"

#include "admin_window_driving.h"
#include "cashier_window.h"

#include <QGroupBox>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using testing::CashierWindow;
using testing::SaleLine;
namespace day = store::day;

// Closes every modal window that comes up while it lives, and counts them.
class ModalCatcher {
 public:
  ModalCatcher() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ++opened;
        modal->close();
      }
    });
    poll_.start(5);
  }
  int opened = 0;

 private:
  QTimer poll_;
};

class CashierAdmin : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.shop.add_sale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("3.00"), .time = QStringLiteral("09:00:00"),
                       .receipt = QStringLiteral("000001")});
    shop.shop.add_sale({.goods = QStringLiteral("面包"), .quantity = QStringLiteral("2.00"),
                       .price = QStringLiteral("4.00"), .amount = QStringLiteral("8.00"),
                       .time = QStringLiteral("09:10:00"), .receipt = QStringLiteral("000002")});
    shop.shop.add_sale({.goods = QStringLiteral("雪碧"), .time = QStringLiteral("09:20:00"),
                       .receipt = QStringLiteral("000003")});
  }
  const QString& day_file() const { return shop.shop.state.paths.day_file; }
  void select_today(int row) { shop.list("List2")->setCurrentRow(row); }
  // Puts a line into the temporary record as the receipt's next, selected, as if just
  // recorded: the test has written its record into the day file as the record-th one.
  void add_receipt_line(const SaleLine& sale, int record) {
    const store::DataFile file = store::DataFile::open(day_file());
    const store::RecordRef written = file.ref_to(file.records().at(static_cast<size_t>(record)));
    ASSERT_TRUE(shop.window->sale_entry().add_line({sale.goods, sale.quantity, sale.price, sale.amount, sale.op, sale.time},
                                                   [written] { return written; }));
  }
  bool masked() const {
    return shop.action("屏蔽")->text() == QStringLiteral("屏显") &&
           shop.find<QGroupBox>(QStringLiteral("Frame2"))->isHidden() &&
           shop.find<QGroupBox>(QStringLiteral("Frame4"))->isHidden() && shop.list("List2")->isHidden();
  }

  CashierWindow shop;
};

TEST_F(CashierAdmin, GuardedCommandsRefusedDoNothing) {
  shop.shop.state.admin_password = QStringLiteral("Boss1");
  shop.shop.state.mask_setting = startup::kMaskOn;
  platform::write_one_line_file(shop.shop.state.paths.public_file, startup::kMaskOn);
  shop.open();
  ScopedSendDestination disk(shop.shop.dir());
  const QByteArray day_bytes = testing::read_bytes(day_file());
  const QByteArray mask_bytes = testing::read_bytes(shop.shop.state.paths.public_file);

  for (const char* command : {"编辑记录", "删除记录", "发送文件", "屏蔽"}) {
    for (const char* typed : std::initializer_list<const char*>{"boss1", " Boss1", "Boss1 ", nullptr}) {
      SCOPED_TRACE(std::string(command) + " / " + (typed ? typed : "cancelled"));
      shop.dialogs.clear();
      typed ? shop.dialogs.answer_input(QString::fromUtf8(typed)) : shop.dialogs.cancel_input();
      select_today(1);
      ModalCatcher catcher;
      shop.action(command)->trigger();
      QApplication::processEvents();
      EXPECT_EQ(catcher.opened, 0);
      ASSERT_EQ(shop.dialogs.shown().size(), 2u);
      EXPECT_EQ(shop.dialogs.shown()[0].text, QStringLiteral("输入你的管理密码："));
      EXPECT_EQ(shop.dialogs.last_message().text, wrong_password_message());
      EXPECT_TRUE(shop.shop.state.edit_record.path.isEmpty());
      EXPECT_TRUE(masked());
      EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.public_file), mask_bytes);
      EXPECT_EQ(testing::read_bytes(day_file()), day_bytes);
    }
  }
  EXPECT_FALSE(QFile::exists(shop.shop.file(QStringLiteral("7.day"))));
}

TEST_F(CashierAdmin, WithoutAPasswordNothingIsAsked) {
  shop.open();
  ScopedSendDestination disk(shop.shop.dir());
  select_today(0);
  QString caption;
  testing::on_next_modal([&caption](QWidget* modal) {
    caption = modal->windowTitle();
    modal->close();
  });
  shop.action("编辑记录")->trigger();
  EXPECT_EQ(caption, QStringLiteral("编辑") + day_file());
  shop.dialogs.cancel_file();
  shop.action("发送文件")->trigger();
  shop.action("屏蔽")->trigger();
  shop.action("屏蔽")->trigger();
  EXPECT_FALSE(masked());
  for (const auto& shown : shop.dialogs.shown()) {
    EXPECT_NE(shown.kind, testing::ShownDialog::Kind::Input) << shown.text.toStdString();
  }
  EXPECT_EQ(shop.dialogs.shown().size(), 1u);  // the file dialog
}

TEST_F(CashierAdmin, AnAdministratorSetsAPasswordThenCorrectsOneLineAndDeletesAnother) {
  shop.open();
  testing::on_next_modal([](QWidget* modal) {
    modal->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("Boss1"));
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  });
  shop.action("设置管理员密码")->trigger();
  EXPECT_EQ(shop.shop.state.admin_password, QStringLiteral("Boss1"));

  // No line selected: said before any password is asked.
  shop.list("List2")->clearSelection();
  shop.action("编辑记录")->trigger();
  EXPECT_EQ(shop.dialogs.last_message().text, QStringLiteral("你还未选记录."));

  // The second line (面包, 09:10:00): quantity 3, amount 12.
  select_today(1);
  shop.dialogs.answer_input(QStringLiteral("Boss1"));
  QStringList shown;
  testing::on_next_modal([&shown](QWidget* modal) {
    for (int n = 1; n <= 7; ++n) shown << modal->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n))->text();
    modal->findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("3.00"));
    modal->findChild<QLineEdit*>(QStringLiteral("Text6"))->setText(QStringLiteral("12.00"));
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
  });
  shop.action("编辑记录")->trigger();
  EXPECT_EQ(shown, (QStringList{QStringLiteral("000002"), QStringLiteral("散客"), QStringLiteral("面包"),
                                QStringLiteral("2.00"), QStringLiteral("4.00"), QStringLiteral("8.00"),
                                QStringLiteral("09:10:00")}));

  // The first line (可乐) is deleted through 删除记录.
  select_today(0);
  shop.dialogs.answer_input(QStringLiteral("Boss1"));
  shop.dialogs.answer_yes();
  testing::on_next_modal([](QWidget* modal) {
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  });
  shop.action("删除记录")->trigger();
  EXPECT_EQ(shop.dialogs.last_message().text, QStringLiteral("记录已经删除！点击“确定”关闭窗口。"));
  EXPECT_EQ(shop.lines("List2").size(), 3);  // the list waits for a reload

  shop.action("刷新数据")->trigger();
  const QStringList lines = shop.lines("List2");
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("     1    面包    ")));
  EXPECT_TRUE(lines[0].contains(QStringLiteral("    3.00    ")));
  EXPECT_TRUE(lines[0].contains(QStringLiteral("     12.00    ")));
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("     2    雪碧    ")));
  EXPECT_EQ(shop.label("Label5")->text(), QStringLiteral("合计金额：13.00元"));
}

TEST_F(CashierAdmin, DeletingAReceiptLineRemovesExactlyTheRecordItWrote) {
  // An earlier sale and the line of this receipt share goods and time.
  const SaleLine earlier{.goods = QStringLiteral("可乐"), .amount = QStringLiteral("2.50"),
                         .receipt = QStringLiteral("000004")};
  const SaleLine current{.goods = QStringLiteral("可乐"), .amount = QStringLiteral("5.00"),
                         .receipt = QStringLiteral("000005")};
  shop.shop.add_sale(earlier);
  shop.shop.add_sale(current);
  shop.open();
  add_receipt_line({.goods = QStringLiteral("面包"), .quantity = QStringLiteral("2.00"), .price = QStringLiteral("4.00"),
                  .amount = QStringLiteral("8.00"), .time = QStringLiteral("09:10:00"), .receipt = QStringLiteral("000002")},
                 1);
  add_receipt_line(current, 4);
  const QString line = shop.lines("List1").at(1);

  shop.dialogs.answer_no();
  shop.action("删除")->trigger();
  EXPECT_EQ(shop.dialogs.shown().back().text, delete_line_question(line));
  EXPECT_EQ(shop.dialogs.shown().back().icon, platform::Icon::Question);
  EXPECT_EQ(shop.lines("List1").size(), 2);
  EXPECT_EQ(shop.shop.records(day_file()).size(), 5u);

  shop.dialogs.answer_yes();
  shop.action("删除")->trigger();
  EXPECT_EQ(shop.lines("List1").size(), 1);
  EXPECT_TRUE(shop.list("List1")->item(0)->isSelected());
  QStringList receipts;
  for (const auto& record : shop.shop.records(day_file())) receipts << record.value(day::kReceiptNo);
  EXPECT_EQ(receipts, (QStringList{QStringLiteral("000001"), QStringLiteral("000002"), QStringLiteral("000003"),
                                   QStringLiteral("000004")}));
  EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.day_backup), testing::read_bytes(day_file()));
  EXPECT_EQ(shop.lines("List2").size(), 4);
  // The line's own amount comes off the receipt total: 13.00 - 5.00.
  EXPECT_EQ(shop.shop.state.temp_total.text(), QStringLiteral("8.00"));
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("8.00元"));

  // Without a day file the record is gone: said so, and the receipt keeps its line.
  QFile::remove(day_file());
  shop.dialogs.answer_yes();
  shop.action("删除")->trigger();
  EXPECT_EQ(shop.dialogs.last_message().text, QStringLiteral("该记录已被修改或删除，请刷新后再试。"));
  EXPECT_EQ(shop.lines("List1").size(), 1);
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("8.00元"));
  EXPECT_EQ(shop.lines("List2").size(), 4);
}

TEST_F(CashierAdmin, ADamagedDayFileIsRestoredBeforeTheReceiptLineIsDeleted) {
  shop.open();
  QFile::copy(day_file(), shop.shop.state.paths.day_backup);
  const QByteArray backup = testing::read_bytes(shop.shop.state.paths.day_backup);
  add_receipt_line({.goods = QStringLiteral("面包"), .quantity = QStringLiteral("2.00"), .price = QStringLiteral("4.00"),
                  .amount = QStringLiteral("8.00"), .time = QStringLiteral("09:10:00")},
                 1);
  testing::write_bytes(day_file(), "not a database");
  shop.dialogs.answer_yes();
  shop.action("删除")->trigger();
  EXPECT_EQ(testing::read_bytes(day_file() + QStringLiteral(".bad")), QByteArray("not a database"));
  EXPECT_EQ(shop.shop.records(day_file()).size(), 2u);
  // The backup catches up with the restored file, the deletion included.
  EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.day_backup), testing::read_bytes(day_file()));
  EXPECT_NE(testing::read_bytes(shop.shop.state.paths.day_backup), backup);
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("0.00元"));
}

TEST_F(CashierAdmin, TheMaskGoesOnFreelyComesOffBehindThePasswordAndLeavesPublicDatAsItWas) {
  shop.shop.state.admin_password = QStringLiteral("Boss1");
  shop.open();
  const QByteArray before = testing::read_bytes(shop.shop.state.paths.public_file);
  const int full_height = shop.window->height();
  shop.action("屏蔽")->trigger();
  EXPECT_TRUE(shop.dialogs.shown().empty());
  EXPECT_TRUE(masked());
  EXPECT_LT(shop.window->height(), full_height);
  EXPECT_EQ(platform::read_first_line(shop.shop.state.paths.public_file), startup::kMaskOn);
  EXPECT_EQ(shop.shop.state.mask_setting, startup::kMaskOn);

  shop.dialogs.answer_input(QStringLiteral("Boss1"));
  shop.action("屏蔽")->trigger();
  EXPECT_FALSE(masked());
  EXPECT_EQ(shop.action("屏蔽")->text(), QStringLiteral("屏蔽"));
  EXPECT_FALSE(shop.list("List2")->isHidden());
  EXPECT_EQ(shop.window->height(), full_height);
  EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.public_file), before);
}

TEST_F(CashierAdmin, HelpAboutAndSending) {
  shop.open();
  // No help page: the menu says nothing.
  shop.action("内容")->trigger();
  EXPECT_TRUE(shop.dialogs.shown().empty());
  testing::write_bytes(shop.shop.file(QStringLiteral("readme.htm")),
                       "<html><head><meta charset=\"utf-8\"></head><body><p>收银帮助</p></body></html>");
  QString help;
  testing::on_next_modal([&help](QWidget* modal) {
    help = modal->windowTitle() + modal->findChild<QTextBrowser*>(QStringLiteral("brwWebBrowser"))->toPlainText();
    modal->close();
  });
  shop.action("内容")->trigger();
  EXPECT_EQ(help, QStringLiteral("Tavuro收银机浏览器收银帮助"));

  QString about;
  testing::on_next_modal([&about](QWidget* modal) {
    about = modal->windowTitle();
    modal->close();
  });
  shop.action("关于")->trigger();
  EXPECT_EQ(about, QStringLiteral("关于 Tavuro收银机"));

  const QString disk = shop.shop.file(QStringLiteral("disk"));
  QDir().mkpath(disk);
  ScopedSendDestination destination(disk);
  shop.dialogs.answer_file(day_file());
  shop.dialogs.answer_yes();
  shop.action("发送文件")->trigger();
  EXPECT_EQ(testing::read_bytes(disk + QStringLiteral("/7.day")), testing::read_bytes(day_file()));
}

}  // namespace
}  // namespace tavuro::cashier
