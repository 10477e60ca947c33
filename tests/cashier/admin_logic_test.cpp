#include "cashier/help_page.h"
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

TEST(ReceiptLineDelete, ExactlyTheRecordTheLineWroteGoesAndOnlyWhileItIsAsWritten) {
  ShopFixture shop;
  shop.start_up();
  // An earlier receipt sold the same goods in the same second.
  shop.add_sale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("3.00"), .receipt = QStringLiteral("000001")});
  shop.add_sale({.goods = QStringLiteral("可乐"), .amount = QStringLiteral("7.50"), .receipt = QStringLiteral("000002")});
  shop.add_sale({.goods = QStringLiteral("面包"), .amount = QStringLiteral("4.00"), .receipt = QStringLiteral("000002")});
  const QString& day_file = shop.state.paths.day_file;
  const auto refs = [&] {
    const store::DataFile file = store::DataFile::open(day_file);
    std::vector<store::RecordRef> all;
    for (const store::Record& record : file.records()) all.push_back(file.ref_to(record));
    return all;
  };
  const std::vector<store::RecordRef> written = refs();
  const sales::ChangeContext context = sales::change_context(shop.state.paths.journal_file, QStringLiteral("001"));

  EXPECT_TRUE(delete_receipt_record(day_file, shop.state.paths.day_backup, context, written[1]));
  std::vector<store::Record> left = shop.records(day_file);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].value(store::day::kReceiptNo), QStringLiteral("000001"));
  EXPECT_EQ(left[1].value(store::day::kGoods), QStringLiteral("面包"));
  // Deleted once, it is gone: a second try changes nothing.
  EXPECT_FALSE(delete_receipt_record(day_file, shop.state.paths.day_backup, context, written[1]));

  // A record changed since the line was written is not deleted.
  store::DataFile::open(day_file).update(written[0].id, {{store::day::kAmount, QStringLiteral("30.00")}});
  EXPECT_FALSE(delete_receipt_record(day_file, shop.state.paths.day_backup, context, written[0]));
  EXPECT_EQ(shop.records(day_file).size(), 2u);
  EXPECT_FALSE(delete_receipt_record(shop.file(QStringLiteral("none.day")), QString(), context, written[2]));

  // The deletion is in the journal with the record as it was.
  const std::vector<store::JournalEntry> entries = store::journal_entries(shop.state.paths.journal_file);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].kind, QStringLiteral("删除"));
  EXPECT_EQ(entries[0].record, written[1].id);
  EXPECT_EQ(entries[0].op, QStringLiteral("001"));
  EXPECT_TRUE(entries[0].before.contains(QStringLiteral("金额=7.50")));
  EXPECT_TRUE(entries[0].after.isEmpty());
}

TEST(ReceiptLineDelete, TheQuestionFramesTheLine) {
  EXPECT_EQ(delete_line_question(QStringLiteral("  0001    可乐")),
            QStringLiteral("是否删除下列记录：\r\r  0001    可乐\r\r“是”= 删除，“否”= 不删除”"));
}

class PasswordChange : public ::testing::Test {
 protected:
  void SetUp() override { shop.start_up(); }
  QByteArray p_file() const { return testing::read_bytes(shop.state.paths.p_file); }
  ShopFixture shop;
  ScriptedDialogs dialogs;
};

TEST_F(PasswordChange, AMissingPasswordFileIsCreatedAndAFailedWriteIsTold) {
  QFile::remove(shop.state.paths.p_file);
  EXPECT_TRUE(change_admin_password(shop.state, QString(), QStringLiteral("boss")));
  EXPECT_EQ(p_file(), QByteArray("boss"));

  // p.dat cannot be written (a folder took its place): the password stays as it was.
  QFile::remove(shop.state.paths.p_file);
  ASSERT_TRUE(QDir().mkdir(shop.state.paths.p_file));
  dialogs.clear();
  EXPECT_FALSE(change_admin_password(shop.state, QStringLiteral("boss"), QStringLiteral("other")));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("写密码文件时出错.[p.dat]")});
  EXPECT_EQ(shop.state.admin_password, QStringLiteral("boss"));
}

TEST(SendDestination, TheFirstReadyWritableVolumeUnderMedia) {
  const Volume root{QStringLiteral("/"), true, false, true};
  const Volume cdrom{QStringLiteral("/media/cdrom"), true, true, false};
  const Volume not_ready{QStringLiteral("/media/u/EMPTY"), false, false, true};
  const Volume locked{QStringLiteral("/run/media/u/LOCKED"), true, false, false};
  const Volume stick{QStringLiteral("/run/media/u/STICK"), true, false, true};
  const Volume second{QStringLiteral("/media/u/SECOND"), true, false, true};
  const Volume lookalike{QStringLiteral("/mediafiles"), true, false, true};
  EXPECT_EQ(choose_removable_volume({root, lookalike, cdrom, not_ready, locked, stick, second}), stick.rootPath);
  EXPECT_EQ(choose_removable_volume({second, stick}), second.rootPath);
  EXPECT_EQ(choose_removable_volume({root, cdrom, lookalike, locked}), std::nullopt);
  EXPECT_EQ(choose_removable_volume({}), std::nullopt);
}

class SendFile : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    shop.add_sale({.goods = QStringLiteral("可乐")});
    ASSERT_TRUE(QDir().mkpath(disk));
  }
  void expect_dialogs_asked() {
    const auto& file = dialogs.shown().front();
    EXPECT_EQ(file.text, QStringLiteral("选取你要发送的文件 -->"));
    EXPECT_EQ(file.file.start_folder, shop.dir());
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
  dialogs.answer_file(shop.state.paths.day_file);
  dialogs.answer_yes();
  EXPECT_TRUE(send_day_file(shop.dir()));
  expect_dialogs_asked();
  EXPECT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(testing::read_bytes(sent), testing::read_bytes(shop.state.paths.day_file));

  shop.add_sale({.goods = QStringLiteral("面包")});
  dialogs.answer_file(shop.state.paths.day_file);
  dialogs.answer_yes();
  EXPECT_TRUE(send_day_file(shop.dir()));
  EXPECT_EQ(shop.records(sent).size(), 2u);
}

TEST_F(SendFile, NoOrCancelCopiesNothingAndSaysNothing) {
  ScopedSendDestination destination(disk);
  dialogs.cancel_file();
  EXPECT_FALSE(send_day_file(shop.dir()));
  EXPECT_EQ(dialogs.shown().size(), 1u);
  dialogs.clear();
  dialogs.answer_file(shop.state.paths.day_file);
  dialogs.answer_no();
  EXPECT_FALSE(send_day_file(shop.dir()));
  expect_dialogs_asked();
  EXPECT_EQ(dialogs.shown().size(), 2u);
  EXPECT_FALSE(QFile::exists(sent));
}

TEST_F(SendFile, NoDiskOrAFailingCopyIsTheDriveMessage) {
  const QString not_ready = QStringLiteral("驱动器[A：]未准备好！，或软盘已经损坏。");
  {
    ScopedSendDestination none(std::nullopt);
    dialogs.answer_file(shop.state.paths.day_file);
    dialogs.answer_yes();
    EXPECT_FALSE(send_day_file(shop.dir()));
    EXPECT_EQ(dialogs.last_message().text, not_ready);
    EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  }
  ScopedSendDestination gone(shop.file(QStringLiteral("no such disk")));
  dialogs.clear();
  dialogs.answer_file(shop.state.paths.day_file);
  dialogs.answer_yes();
  EXPECT_FALSE(send_day_file(shop.dir()));
  EXPECT_EQ(dialogs.messages().size(), 2);  // the question, then the refusal
  EXPECT_EQ(dialogs.last_message().text, not_ready);
}

TEST(HelpPage, BesideTheProgramWithOneSeparatorAndTheVersionOfTheAboutWindow) {
  EXPECT_EQ(help_path(QStringLiteral("/opt/tavuro")), QStringLiteral("/opt/tavuro/readme.htm"));
  EXPECT_EQ(help_path(QStringLiteral("/")), QStringLiteral("/readme.htm"));
  EXPECT_EQ(about_version_text(), QStringLiteral("版本 2.0"));
}

}  // namespace
}  // namespace tavuro::cashier
