// Writing a sale line into today's day file, with its backup copy and the recovery.

#include "cashier/sale_record.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using testing::ScriptedDialogs;
using testing::ShopFixture;

SaleRecord cola(const QString& customer = {}) {
  return SaleRecord{{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"), QStringLiteral("5.00"),
                     QStringLiteral("001"), QStringLiteral("15:05:09")},
                    customer,
                    QStringLiteral("000058")};
}

TEST(SaleRecord, WritesEveryFieldAndTheBackup) {
  ShopFixture shop;
  shop.startUp();
  ScriptedDialogs dialogs;
  ASSERT_TRUE(save_line(shop.state.paths, cola()));
  ASSERT_TRUE(save_line(shop.state.paths, cola(QStringLiteral(" 王先生 "))));
  const auto records = shop.records(shop.state.paths.dayFile);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].values(), (QStringList{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"),
                                              QStringLiteral("5.00"), QStringLiteral("001"), QStringLiteral("15:05:09"),
                                              QString(), QStringLiteral("散客"), QStringLiteral("000058")}));
  EXPECT_EQ(records[1].value(store::day::kCustomer), QStringLiteral("王先生"));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.dayBackup), testing::read_bytes(shop.state.paths.dayFile));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(SaleRecord, DamagedDayFileIsRestoredFromItsBackupAndTheLineWritten) {
  ShopFixture shop;
  shop.startUp();
  ScriptedDialogs dialogs;
  ASSERT_TRUE(save_line(shop.state.paths, cola()));
  const QByteArray backup = testing::read_bytes(shop.state.paths.dayBackup);
  testing::write_bytes(shop.state.paths.dayFile, "garbage, not a data file");

  ASSERT_TRUE(save_line(shop.state.paths, cola()));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.dayFile + QStringLiteral(".bad")), "garbage, not a data file");
  EXPECT_EQ(shop.records(shop.state.paths.dayFile).size(), 2u);
  // The backup catches up with the restored file and the line written into it.
  EXPECT_EQ(testing::read_bytes(shop.state.paths.dayBackup), testing::read_bytes(shop.state.paths.dayFile));
  EXPECT_NE(testing::read_bytes(shop.state.paths.dayBackup), backup);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_TRUE(dialogs.lastMessage().text.contains(QStringLiteral("现有 2 条记录")));
}

TEST(SaleRecord, UnrecoverableOrMissingDayFileWritesNothing) {
  ShopFixture shop;
  shop.startUp();
  ScriptedDialogs dialogs;
  testing::write_bytes(shop.state.paths.dayFile, "garbage");
  EXPECT_FALSE(save_line(shop.state.paths, cola()));
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("备份数据文件出错。"),
                                             QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") +
                                                 shop.state.paths.dayFile + QStringLiteral("]")}));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.dayFile), "garbage");
  EXPECT_FALSE(QFile::exists(shop.state.paths.dayBackup));

  dialogs.clear();
  QFile::remove(shop.state.paths.dayFile);
  EXPECT_FALSE(save_line(shop.state.paths, cola()));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[save_line]")});
  EXPECT_FALSE(QFile::exists(shop.state.paths.dayFile));

  // A value the store refuses (longer than its field) is no damage: nothing is restored.
  dialogs.clear();
  shop.startUp();
  SaleRecord tooLong = cola();
  tooLong.columns.quantity = QString(11, QLatin1Char('9'));
  EXPECT_FALSE(save_line(shop.state.paths, tooLong));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[save_line]")});
  EXPECT_TRUE(shop.records(shop.state.paths.dayFile).empty());
}

}  // namespace
}  // namespace tavuro::cashier
