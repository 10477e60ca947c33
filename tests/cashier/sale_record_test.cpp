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
  shop.start_up();
  ScriptedDialogs dialogs;
  ASSERT_TRUE(save_line(shop.state.paths, cola()));
  ASSERT_TRUE(save_line(shop.state.paths, cola(QStringLiteral(" 王先生 "))));
  const auto records = shop.records(shop.state.paths.day_file);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].values(), (QStringList{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"),
                                              QStringLiteral("5.00"), QStringLiteral("001"), QStringLiteral("15:05:09"),
                                              QString(), QStringLiteral("散客"), QStringLiteral("000058")}));
  EXPECT_EQ(records[1].value(store::day::kCustomer), QStringLiteral("王先生"));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_backup), testing::read_bytes(shop.state.paths.day_file));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(SaleRecord, DamagedDayFileIsRestoredFromItsBackupAndTheLineWritten) {
  ShopFixture shop;
  shop.start_up();
  ScriptedDialogs dialogs;
  ASSERT_TRUE(save_line(shop.state.paths, cola()));
  const QByteArray backup = testing::read_bytes(shop.state.paths.day_backup);
  testing::write_bytes(shop.state.paths.day_file, "garbage, not a data file");

  ASSERT_TRUE(save_line(shop.state.paths, cola()));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_file + QStringLiteral(".bad")), "garbage, not a data file");
  EXPECT_EQ(shop.records(shop.state.paths.day_file).size(), 2u);
  // The backup catches up with the restored file and the line written into it.
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_backup), testing::read_bytes(shop.state.paths.day_file));
  EXPECT_NE(testing::read_bytes(shop.state.paths.day_backup), backup);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_TRUE(dialogs.last_message().text.contains(QStringLiteral("现有 2 条记录")));
}

TEST(SaleRecord, UnrecoverableOrMissingDayFileWritesNothing) {
  ShopFixture shop;
  shop.start_up();
  ScriptedDialogs dialogs;
  testing::write_bytes(shop.state.paths.day_file, "garbage");
  EXPECT_FALSE(save_line(shop.state.paths, cola()));
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("备份数据文件出错。"),
                                             QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") +
                                                 shop.state.paths.day_file + QStringLiteral("]")}));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_file), "garbage");
  EXPECT_FALSE(QFile::exists(shop.state.paths.day_backup));

  dialogs.clear();
  QFile::remove(shop.state.paths.day_file);
  EXPECT_FALSE(save_line(shop.state.paths, cola()));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[save_line]")});
  EXPECT_FALSE(QFile::exists(shop.state.paths.day_file));

  // A value the store refuses (longer than its field) is no damage: nothing is restored.
  dialogs.clear();
  shop.start_up();
  SaleRecord too_long = cola();
  too_long.columns.quantity = QString(11, QLatin1Char('9'));
  EXPECT_FALSE(save_line(shop.state.paths, too_long));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[save_line]")});
  EXPECT_TRUE(shop.records(shop.state.paths.day_file).empty());
}

}  // namespace
}  // namespace tavuro::cashier
