#include "cashier/help_page.h"
#include "cashier/list_lines.h"
#include "cashier/password_change.h"
#include "cashier/receipt_line_delete.h"
#include "cashier/send_file.h"

#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using testing::SaleLine;
using testing::ScriptedDialogs;
using testing::ShopFixture;

// A list line as the cashier window lays it out: a line of the receipt (0001) or of
// today's list (  12).
QString line_of(int number, bool receipt, const QString& goods, const QString& time) {
  const sales::SaleColumns columns{goods, QStringLiteral("1.00"), QStringLiteral("5.00"), QStringLiteral("5.00"),
                                   QStringLiteral("001"), time};
  return receipt ? receipt_line(number, columns) : sales::display_line(number, columns);
}

TEST(ListLine, GoodsAndTimeComeBackFromTheLayout) {
  const QString receipt = line_of(1, true, QStringLiteral("可乐 2L"), QStringLiteral("15:05:09"));
  EXPECT_EQ(goods_of_line(receipt), QStringLiteral("可乐 2L"));
  EXPECT_EQ(time_of_line(receipt), QStringLiteral("15:05:09"));
  // A name as wide as its column is followed directly by the gap.
  const QString today = line_of(12, false, QStringLiteral("八个中文字的商品"), QStringLiteral("9:05:03"));
  EXPECT_EQ(goods_of_line(today), QStringLiteral("八个中文字的商品"));
  EXPECT_EQ(time_of_line(today), QStringLiteral("9:05:03"));
  // Without a run of four spaces the name runs to the end; a short line has a short time.
  EXPECT_EQ(goods_of_line(QStringLiteral("  0001    abc  d")), QStringLiteral("abc  d"));
  EXPECT_EQ(time_of_line(QStringLiteral(" 1:02 ")), QStringLiteral("1:02"));
}

TEST(ReceiptLineDelete, OnlyTheFirstOfTwoMatchingRecordsGoes) {
  ShopFixture shop;
  shop.startUp();
  shop.addSale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("3.00"), .receipt = QStringLiteral("000001")});
  shop.addSale({.goods = QStringLiteral("面包"), .amount = QStringLiteral("4.00")});
  shop.addSale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("7.50"), .time = QStringLiteral("15:05:09 "),
                .receipt = QStringLiteral("000002")});
  shop.addSale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("9.00"), .receipt = QStringLiteral("000003")});

  EXPECT_EQ(delete_first_sale(shop.state.paths.dayFile, QStringLiteral("可乐"), QStringLiteral("15:05:09")), 3.0f);
  auto left = shop.records(shop.state.paths.dayFile);
  ASSERT_EQ(left.size(), 3u);
  EXPECT_EQ(left[1].value(store::day::kReceiptNo), QStringLiteral("000002"));
  // The stored time is compared trimmed.
  EXPECT_EQ(delete_first_sale(shop.state.paths.dayFile, QStringLiteral("可乐"), QStringLiteral("15:05:09")), 7.5f);
  left = shop.records(shop.state.paths.dayFile);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1].value(store::day::kReceiptNo), QStringLiteral("000003"));

  // No match: nothing goes, the amount is 0. An empty or missing file: nothing is done.
  EXPECT_EQ(delete_first_sale(shop.state.paths.dayFile, QStringLiteral("可乐 "), QStringLiteral("15:05:09")), 0.0f);
  EXPECT_EQ(shop.records(shop.state.paths.dayFile).size(), 2u);
  const QString empty = QDir(shop.dir()).filePath(QStringLiteral("empty.day"));
  store::DataFile::create(empty, store::day_schema());
  EXPECT_EQ(delete_first_sale(empty, QStringLiteral("可乐"), QStringLiteral("15:05:09")), std::nullopt);
  EXPECT_EQ(delete_first_sale(shop.file(QStringLiteral("none.day")), QStringLiteral("可乐"), QStringLiteral("1")),
            std::nullopt);
}

TEST(ReceiptLineDelete, TheQuestionFramesTheLine) {
  EXPECT_EQ(delete_line_question(QStringLiteral("  0001    可乐")),
            QStringLiteral("是否删除下列记录：\r\r  0001    可乐\r\r“是”= 删除，“否”= 不删除”"));
}

class PasswordChange : public ::testing::Test {
 protected:
  void SetUp() override { shop.startUp(); }
  QByteArray pFile() const { return testing::read_bytes(shop.state.paths.pFile); }
  ShopFixture shop;
  ScriptedDialogs dialogs;
};

TEST_F(PasswordChange, AMissingPasswordFileIsCreatedAndAFailedWriteIsTold) {
  QFile::remove(shop.state.paths.pFile);
  EXPECT_TRUE(change_admin_password(shop.state, QString(), QStringLiteral("boss")));
  EXPECT_EQ(pFile(), QByteArray("boss"));

  // p.dat cannot be written (a folder took its place): the password stays as it was.
  QFile::remove(shop.state.paths.pFile);
  ASSERT_TRUE(QDir().mkdir(shop.state.paths.pFile));
  dialogs.clear();
  EXPECT_FALSE(change_admin_password(shop.state, QStringLiteral("boss"), QStringLiteral("other")));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("写密码文件时出错.[p.dat]")});
  EXPECT_EQ(shop.state.adminPassword, QStringLiteral("boss"));
}

TEST(SendDestination, TheFirstReadyWritableVolumeUnderMedia) {
  const Volume root{QStringLiteral("/"), true, false, true};
  const Volume cdrom{QStringLiteral("/media/cdrom"), true, true, false};
  const Volume notReady{QStringLiteral("/media/u/EMPTY"), false, false, true};
  const Volume locked{QStringLiteral("/run/media/u/LOCKED"), true, false, false};
  const Volume stick{QStringLiteral("/run/media/u/STICK"), true, false, true};
  const Volume second{QStringLiteral("/media/u/SECOND"), true, false, true};
  const Volume lookalike{QStringLiteral("/mediafiles"), true, false, true};
  EXPECT_EQ(choose_removable_volume({root, lookalike, cdrom, notReady, locked, stick, second}), stick.rootPath);
  EXPECT_EQ(choose_removable_volume({second, stick}), second.rootPath);
  EXPECT_EQ(choose_removable_volume({root, cdrom, lookalike, locked}), std::nullopt);
  EXPECT_EQ(choose_removable_volume({}), std::nullopt);
}

class SendFile : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.startUp();
    shop.addSale({.goods = QStringLiteral("可乐")});
    ASSERT_TRUE(QDir().mkpath(disk));
  }
  void expectDialogsAsked() {
    const auto& file = dialogs.shown().front();
    EXPECT_EQ(file.text, QStringLiteral("选取你要发送的文件 -->"));
    EXPECT_EQ(file.file.startFolder, shop.dir());
    EXPECT_TRUE(file.file.fileName.isEmpty());
    EXPECT_EQ(file.file.filter, QStringLiteral("每天的数据文件名 (*.day)|*.DAY"));
    EXPECT_EQ(dialogs.shown().at(1).text, QStringLiteral("请插入你的软盘到[A：]驱动器，按“是”= 发送，“否”= 取消"));
    EXPECT_EQ(dialogs.shown().at(1).icon, platform::Icon::Information);
  }
  ShopFixture shop;
  ScriptedDialogs dialogs;
  QString disk = shop.file(QStringLiteral("disk"));
  QString sent = disk + QStringLiteral("/7.day");
};

TEST_F(SendFile, TheChosenDayFileIsCopiedAndReplacedSilently) {
  ScopedSendDestination destination(disk);
  dialogs.answerFile(shop.state.paths.dayFile);
  dialogs.answerYes();
  EXPECT_TRUE(send_day_file(shop.dir()));
  expectDialogsAsked();
  EXPECT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(testing::read_bytes(sent), testing::read_bytes(shop.state.paths.dayFile));

  shop.addSale({.goods = QStringLiteral("面包")});
  dialogs.answerFile(shop.state.paths.dayFile);
  dialogs.answerYes();
  EXPECT_TRUE(send_day_file(shop.dir()));
  EXPECT_EQ(shop.records(sent).size(), 2u);
}

TEST_F(SendFile, NoOrCancelCopiesNothingAndSaysNothing) {
  ScopedSendDestination destination(disk);
  dialogs.cancelFile();
  EXPECT_FALSE(send_day_file(shop.dir()));
  EXPECT_EQ(dialogs.shown().size(), 1u);
  dialogs.clear();
  dialogs.answerFile(shop.state.paths.dayFile);
  dialogs.answerNo();
  EXPECT_FALSE(send_day_file(shop.dir()));
  expectDialogsAsked();
  EXPECT_EQ(dialogs.shown().size(), 2u);
  EXPECT_FALSE(QFile::exists(sent));
}

TEST_F(SendFile, NoDiskOrAFailingCopyIsTheDriveMessage) {
  const QString notReady = QStringLiteral("驱动器[A：]未准备好！，或软盘已经损坏。");
  {
    ScopedSendDestination none(std::nullopt);
    dialogs.answerFile(shop.state.paths.dayFile);
    dialogs.answerYes();
    EXPECT_FALSE(send_day_file(shop.dir()));
    EXPECT_EQ(dialogs.lastMessage().text, notReady);
    EXPECT_EQ(dialogs.lastMessage().icon, platform::Icon::Exclamation);
  }
  ScopedSendDestination gone(shop.file(QStringLiteral("no such disk")));
  dialogs.clear();
  dialogs.answerFile(shop.state.paths.dayFile);
  dialogs.answerYes();
  EXPECT_FALSE(send_day_file(shop.dir()));
  EXPECT_EQ(dialogs.messages().size(), 2);  // the question, then the refusal
  EXPECT_EQ(dialogs.lastMessage().text, notReady);
}

TEST(HelpPage, BesideTheProgramWithOneSeparatorAndTheVersionOfTheAboutWindow) {
  EXPECT_EQ(help_path(QStringLiteral("/opt/tavuro")), QStringLiteral("/opt/tavuro/readme.htm"));
  EXPECT_EQ(help_path(QStringLiteral("/")), QStringLiteral("/readme.htm"));
  EXPECT_EQ(about_version_text(), QStringLiteral("版本 2.0"));
}

}  // namespace
}  // namespace tavuro::cashier
