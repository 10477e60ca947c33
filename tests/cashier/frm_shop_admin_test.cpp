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
    shop.shop.addSale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("3.00"), .time = QStringLiteral("09:00:00"),
                       .receipt = QStringLiteral("000001")});
    shop.shop.addSale({.goods = QStringLiteral("面包"), .quantity = QStringLiteral("2.00"),
                       .price = QStringLiteral("4.00"), .amount = QStringLiteral("8.00"),
                       .time = QStringLiteral("09:10:00"), .receipt = QStringLiteral("000002")});
    shop.shop.addSale({.goods = QStringLiteral("雪碧"), .time = QStringLiteral("09:20:00"),
                       .receipt = QStringLiteral("000003")});
  }
  const QString& dayFile() const { return shop.shop.state.paths.dayFile; }
  void selectToday(int row) { shop.list("List2")->setCurrentRow(row); }
  // Puts a line into the temporary record as the receipt's next, selected, as if just
  // recorded: the test has written its record into the day file as the record-th one.
  void addReceiptLine(const SaleLine& sale, int record) {
    const store::DataFile file = store::DataFile::open(dayFile());
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
  shop.shop.state.adminPassword = QStringLiteral("Boss1");
  shop.shop.state.maskSetting = startup::kMaskOn;
  platform::write_one_line_file(shop.shop.state.paths.publicFile, startup::kMaskOn);
  shop.open();
  ScopedSendDestination disk(shop.shop.dir());
  const QByteArray dayBytes = testing::read_bytes(dayFile());
  const QByteArray maskBytes = testing::read_bytes(shop.shop.state.paths.publicFile);

  for (const char* command : {"编辑记录", "删除记录", "发送文件", "屏蔽"}) {
    for (const char* typed : std::initializer_list<const char*>{"boss1", " Boss1", "Boss1 ", nullptr}) {
      SCOPED_TRACE(std::string(command) + " / " + (typed ? typed : "cancelled"));
      shop.dialogs.clear();
      typed ? shop.dialogs.answerInput(QString::fromUtf8(typed)) : shop.dialogs.cancelInput();
      selectToday(1);
      ModalCatcher catcher;
      shop.action(command)->trigger();
      QApplication::processEvents();
      EXPECT_EQ(catcher.opened, 0);
      ASSERT_EQ(shop.dialogs.shown().size(), 2u);
      EXPECT_EQ(shop.dialogs.shown()[0].text, QStringLiteral("输入你的管理密码："));
      EXPECT_EQ(shop.dialogs.lastMessage().text, wrong_password_message());
      EXPECT_TRUE(shop.shop.state.editRecord.path.isEmpty());
      EXPECT_TRUE(masked());
      EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.publicFile), maskBytes);
      EXPECT_EQ(testing::read_bytes(dayFile()), dayBytes);
    }
  }
  EXPECT_FALSE(QFile::exists(shop.shop.file(QStringLiteral("7.day"))));
}

TEST_F(CashierAdmin, WithoutAPasswordNothingIsAsked) {
  shop.open();
  ScopedSendDestination disk(shop.shop.dir());
  selectToday(0);
  QString caption;
  testing::on_next_modal([&caption](QWidget* modal) {
    caption = modal->windowTitle();
    modal->close();
  });
  shop.action("编辑记录")->trigger();
  EXPECT_EQ(caption, QStringLiteral("编辑") + dayFile());
  shop.dialogs.cancelFile();
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
  EXPECT_EQ(shop.shop.state.adminPassword, QStringLiteral("Boss1"));

  // No line selected: said before any password is asked.
  shop.list("List2")->clearSelection();
  shop.action("编辑记录")->trigger();
  EXPECT_EQ(shop.dialogs.lastMessage().text, QStringLiteral("你还未选记录."));

  // The second line (面包, 09:10:00): quantity 3, amount 12.
  selectToday(1);
  shop.dialogs.answerInput(QStringLiteral("Boss1"));
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
  selectToday(0);
  shop.dialogs.answerInput(QStringLiteral("Boss1"));
  shop.dialogs.answerYes();
  testing::on_next_modal([](QWidget* modal) {
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  });
  shop.action("删除记录")->trigger();
  EXPECT_EQ(shop.dialogs.lastMessage().text, QStringLiteral("记录已经删除！点击“确定”关闭窗口。"));
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
  shop.shop.addSale(earlier);
  shop.shop.addSale(current);
  shop.open();
  addReceiptLine({.goods = QStringLiteral("面包"), .quantity = QStringLiteral("2.00"), .price = QStringLiteral("4.00"),
                  .amount = QStringLiteral("8.00"), .time = QStringLiteral("09:10:00"), .receipt = QStringLiteral("000002")},
                 1);
  addReceiptLine(current, 4);
  const QString line = shop.lines("List1").at(1);

  shop.dialogs.answerNo();
  shop.action("删除")->trigger();
  EXPECT_EQ(shop.dialogs.shown().back().text, delete_line_question(line));
  EXPECT_EQ(shop.dialogs.shown().back().icon, platform::Icon::Question);
  EXPECT_EQ(shop.lines("List1").size(), 2);
  EXPECT_EQ(shop.shop.records(dayFile()).size(), 5u);

  shop.dialogs.answerYes();
  shop.action("删除")->trigger();
  EXPECT_EQ(shop.lines("List1").size(), 1);
  EXPECT_TRUE(shop.list("List1")->item(0)->isSelected());
  QStringList receipts;
  for (const auto& record : shop.shop.records(dayFile())) receipts << record.value(day::kReceiptNo);
  EXPECT_EQ(receipts, (QStringList{QStringLiteral("000001"), QStringLiteral("000002"), QStringLiteral("000003"),
                                   QStringLiteral("000004")}));
  EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.dayBackup), testing::read_bytes(dayFile()));
  EXPECT_EQ(shop.lines("List2").size(), 4);
  // The line's own amount comes off the receipt total: 13.00 - 5.00.
  EXPECT_EQ(shop.shop.state.tempTotal.text(), QStringLiteral("8.00"));
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("8.00元"));

  // Without a day file the record is gone: said so, and the receipt keeps its line.
  QFile::remove(dayFile());
  shop.dialogs.answerYes();
  shop.action("删除")->trigger();
  EXPECT_EQ(shop.dialogs.lastMessage().text, QStringLiteral("该记录已被修改或删除，请刷新后再试。"));
  EXPECT_EQ(shop.lines("List1").size(), 1);
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("8.00元"));
  EXPECT_EQ(shop.lines("List2").size(), 4);
}

TEST_F(CashierAdmin, ADamagedDayFileIsRestoredBeforeTheReceiptLineIsDeleted) {
  shop.open();
  QFile::copy(dayFile(), shop.shop.state.paths.dayBackup);
  const QByteArray backup = testing::read_bytes(shop.shop.state.paths.dayBackup);
  addReceiptLine({.goods = QStringLiteral("面包"), .quantity = QStringLiteral("2.00"), .price = QStringLiteral("4.00"),
                  .amount = QStringLiteral("8.00"), .time = QStringLiteral("09:10:00")},
                 1);
  testing::write_bytes(dayFile(), "not a database");
  shop.dialogs.answerYes();
  shop.action("删除")->trigger();
  EXPECT_EQ(testing::read_bytes(dayFile() + QStringLiteral(".bad")), QByteArray("not a database"));
  EXPECT_EQ(shop.shop.records(dayFile()).size(), 2u);
  // The backup catches up with the restored file, the deletion included.
  EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.dayBackup), testing::read_bytes(dayFile()));
  EXPECT_NE(testing::read_bytes(shop.shop.state.paths.dayBackup), backup);
  EXPECT_EQ(shop.label("Label4")->text(), QStringLiteral("0.00元"));
}

TEST_F(CashierAdmin, TheMaskGoesOnFreelyComesOffBehindThePasswordAndLeavesPublicDatAsItWas) {
  shop.shop.state.adminPassword = QStringLiteral("Boss1");
  shop.open();
  const QByteArray before = testing::read_bytes(shop.shop.state.paths.publicFile);
  const int fullHeight = shop.window->height();
  shop.action("屏蔽")->trigger();
  EXPECT_TRUE(shop.dialogs.shown().empty());
  EXPECT_TRUE(masked());
  EXPECT_LT(shop.window->height(), fullHeight);
  EXPECT_EQ(platform::read_first_line(shop.shop.state.paths.publicFile), startup::kMaskOn);
  EXPECT_EQ(shop.shop.state.maskSetting, startup::kMaskOn);

  shop.dialogs.answerInput(QStringLiteral("Boss1"));
  shop.action("屏蔽")->trigger();
  EXPECT_FALSE(masked());
  EXPECT_EQ(shop.action("屏蔽")->text(), QStringLiteral("屏蔽"));
  EXPECT_FALSE(shop.list("List2")->isHidden());
  EXPECT_EQ(shop.window->height(), fullHeight);
  EXPECT_EQ(testing::read_bytes(shop.shop.state.paths.publicFile), before);
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
  shop.dialogs.answerFile(dayFile());
  shop.dialogs.answerYes();
  shop.action("发送文件")->trigger();
  EXPECT_EQ(testing::read_bytes(disk + QStringLiteral("/7.day")), testing::read_bytes(dayFile()));
}

}  // namespace
}  // namespace tavuro::cashier
