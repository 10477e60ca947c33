#include "catalogues/goods_catalogue.h"

#include "store/data_file.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tavuro::catalogues {
namespace {

using platform::Buttons;
using platform::Icon;
using testing::read_bytes;
using testing::ScriptedDialogs;
using testing::ShopFixture;
using testing::write_bytes;

class GoodsCatalogue : public ::testing::Test {
 protected:
  void SetUp() override { shop.start_up(); }
  QStringList stored() const {
    QStringList result;
    for (const auto& record : shop.records(shop.state.paths.shop_file)) {
      result << record.value(store::shop::kGoods) + QLatin1Char('=') + record.value(store::shop::kPrice) +
                    QLatin1Char('/') + record.value(store::shop::kCode);
    }
    return result;
  }
  void expect_backed_up() const {
    EXPECT_EQ(read_bytes(shop.state.paths.shop_file), read_bytes(shop.state.paths.shop_backup));
  }

  ShopFixture shop;
  ScriptedDialogs dialogs;
};

TEST(GoodsLine, NameLeftInSixteenColumnsPriceRightInEight) {
  EXPECT_EQ(goods_line(QStringLiteral("可乐"), QStringLiteral("2.50")),
            QStringLiteral("可乐") + QString(12, QLatin1Char(' ')) + QStringLiteral("    ") + QStringLiteral("    2.50"));
  EXPECT_EQ(goods_line(QStringLiteral("  Cola 2L "), QStringLiteral("12345.67")),
            QStringLiteral("Cola 2L         ") + QStringLiteral("    ") + QStringLiteral("12345.67"));
  EXPECT_EQ(goods_line(QStringLiteral("八个中文字符的名"), QStringLiteral("0.00")).size(), 8 + 4 + 8);
}

TEST_F(GoodsCatalogue, TheListIsTheHeaderAndOneLinePerRecordInStoredOrder) {
  auto list = read_shop_list(shop.state);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->lines, QStringList{kGoodsHeader});
  EXPECT_EQ(list->count(), 0);

  shop.add_goods(QStringLiteral("雪碧"), QStringLiteral("3.00"));
  shop.add_goods(QStringLiteral(" 可乐"), QStringLiteral("2.50"));
  list = read_shop_list(shop.state);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->lines, (QStringList{kGoodsHeader, goods_line(QStringLiteral("雪碧"), QStringLiteral("3.00")),
                                      goods_line(QStringLiteral("可乐"), QStringLiteral("2.50"))}));
  EXPECT_EQ(list->names, (QStringList{QString(), QStringLiteral("雪碧"), QStringLiteral(" 可乐")}));
  EXPECT_EQ(list->count(), 2);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(GoodsCatalogue, AMissingCatalogueGivesNoListAndNoMessage) {
  QFile::remove(shop.state.paths.shop_file);
  EXPECT_FALSE(read_shop_list(shop.state));
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_FALSE(QFile::exists(shop.state.paths.shop_file));
}

TEST_F(GoodsCatalogue, ADamagedCatalogueIsRestoredFromShopBakOrReported) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  ASSERT_TRUE(QFile::copy(shop.state.paths.shop_file, shop.state.paths.shop_backup));
  write_bytes(shop.state.paths.shop_file, "garbage");
  auto list = read_shop_list(shop.state);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->count(), 1);
  EXPECT_EQ(read_bytes(shop.state.paths.shop_file + QStringLiteral(".bad")), QByteArray("garbage"));
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_TRUE(
      dialogs.last_message().text.startsWith(QStringLiteral("数据文件已从备份恢复：") + shop.state.paths.shop_file));
  dialogs.clear();

  QFile::remove(shop.state.paths.shop_backup);
  write_bytes(shop.state.paths.shop_file, "garbage");
  EXPECT_FALSE(read_shop_list(shop.state));
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("备份数据文件出错。"),
                                            QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") +
                                                shop.state.paths.shop_file + QLatin1Char(']')}));
}

TEST_F(GoodsCatalogue, RegisteringANewNameWritesItAsTypedBacksUpAndConfirms) {
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("可乐"), QStringLiteral("2.50")), AddShopResult::Registered);
  EXPECT_EQ(stored(), QStringList{QStringLiteral("可乐=2.50/")});
  expect_backed_up();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("注册成功！"));
  EXPECT_EQ(dialogs.last_message().icon, Icon::None);

  // Names are compared exactly: case and a trailing space make other goods, and an
  // untrimmed name is stored as typed.
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("Cola"), QStringLiteral("1.00")), AddShopResult::Registered);
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("cola"), QStringLiteral("1.10")), AddShopResult::Registered);
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("cola "), QStringLiteral("1.20")), AddShopResult::Registered);
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("可乐=2.50/"), QStringLiteral("Cola=1.00/"),
                                   QStringLiteral("cola=1.10/"), QStringLiteral("cola =1.20/")}));
  expect_backed_up();
}

TEST_F(GoodsCatalogue, AnExistingNameAsksBeforeChangingItsPrice) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("9.99"));  // a second record of the name stays untouched

  dialogs.answer_no();
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("可乐"), QStringLiteral("3.00")), AddShopResult::PriceKept);
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("可乐=2.50/"), QStringLiteral("可乐=9.99/")}));
  EXPECT_FALSE(QFile::exists(shop.state.paths.shop_backup));
  const auto question = dialogs.last_message();
  EXPECT_EQ(question.text, QStringLiteral("商品名称已经存在,你是否要将原来单价[2.50]改成现在单价[3.00]"));
  EXPECT_EQ(question.icon, Icon::Information);
  EXPECT_EQ(question.buttons, Buttons::YesNo);

  // The same price is asked about too; Yes rewrites the first record without a message.
  dialogs.clear();
  dialogs.answer_yes();
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("可乐"), QStringLiteral("2.50")), AddShopResult::PriceChanged);
  dialogs.answer_yes();
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("可乐"), QStringLiteral("3.00")), AddShopResult::PriceChanged);
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("可乐=3.00/"), QStringLiteral("可乐=9.99/")}));
  expect_backed_up();
  EXPECT_EQ(dialogs.messages().size(), 2) << "only the two questions";
}

TEST_F(GoodsCatalogue, NamesUpToSixteenColumnsAreRegisteredWiderOnesRefused) {
  const QString cjk16 = QStringLiteral("八个中文字符的名");
  const QString ascii16 = QStringLiteral("abcdefghijklmnop");
  EXPECT_EQ(add_shop(shop.state, cjk16, QStringLiteral("1.00")), AddShopResult::Registered);
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("  ") + ascii16 + QStringLiteral(" "), QStringLiteral("1.00")),
            AddShopResult::Registered)
      << "the width is that of the trimmed name";
  dialogs.clear();

  for (const QString& wide : {cjk16 + QStringLiteral("字"), ascii16 + QStringLiteral("q"),
                              QStringLiteral("abcdefghijklmno可")}) {
    EXPECT_EQ(add_shop(shop.state, wide, QStringLiteral("1.00")), AddShopResult::TooWide) << wide.toStdString();
    EXPECT_EQ(dialogs.last_message().text, kGoodsNameTooWide);
    EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  }
  EXPECT_EQ(stored().size(), 2);
}

TEST_F(GoodsCatalogue, AnEmptyNameOrPriceIsIgnoredSilently) {
  EXPECT_EQ(add_shop(shop.state, QString(), QStringLiteral("1.00")), AddShopResult::Ignored);
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("茶"), QString()), AddShopResult::Ignored);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(stored().isEmpty());
}

TEST_F(GoodsCatalogue, AValueTheCatalogueCannotHoldIsReportedAndNothingIsWritten) {
  shop.add_goods(QStringLiteral("茶"), QStringLiteral("1.00"));
  const QByteArray before = read_bytes(shop.state.paths.shop_file);
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("可乐"), QString(51, QLatin1Char('9'))), AddShopResult::Failed);
  dialogs.answer_yes();
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("茶"), QString(51, QLatin1Char('9'))), AddShopResult::Failed);
  EXPECT_EQ(dialogs.messages().last(), QStringLiteral("数据出错！[add_shop]"));
  EXPECT_EQ(dialogs.messages().count(QStringLiteral("数据出错！[add_shop]")), 2);
  EXPECT_EQ(read_bytes(shop.state.paths.shop_file), before);
  EXPECT_FALSE(QFile::exists(shop.state.paths.shop_backup));
}

TEST_F(GoodsCatalogue, ARegistrationIntoADamagedCatalogueGoesIntoItsRestoredBackup) {
  shop.add_goods(QStringLiteral("茶"), QStringLiteral("1.00"));
  ASSERT_TRUE(QFile::copy(shop.state.paths.shop_file, shop.state.paths.shop_backup));
  write_bytes(shop.state.paths.shop_file, "garbage");
  EXPECT_EQ(add_shop(shop.state, QStringLiteral("可乐"), QStringLiteral("2.50")), AddShopResult::Registered);
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("茶=1.00/"), QStringLiteral("可乐=2.50/")}));
  expect_backed_up();
}

TEST_F(GoodsCatalogue, DeletingAsksWithTheBareNameAndRemovesExactlyTheChosenRecord) {
  shop.add_goods(QStringLiteral("cola"), QStringLiteral("1.00"));
  shop.add_goods(QStringLiteral("Cola"), QStringLiteral("2.00"));
  shop.add_goods(QStringLiteral("Cola"), QStringLiteral("3.00"));
  const store::RecordRef second = shop.record_ref(shop.state.paths.shop_file, 1);

  dialogs.answer_no();
  EXPECT_FALSE(del_shop(shop.state, QStringLiteral("Cola"), second));
  EXPECT_EQ(stored().size(), 3);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("真的要删除商品[Cola]吗?"));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(dialogs.last_message().buttons, Buttons::YesNo);

  dialogs.answer_yes();
  EXPECT_TRUE(del_shop(shop.state, QStringLiteral("Cola"), shop.record_ref(shop.state.paths.shop_file, 2)));
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("cola=1.00/"), QStringLiteral("Cola=2.00/")}));
  expect_backed_up();
  // The change is in the month's journal, with the goods as they were.
  const std::vector<store::JournalEntry> entries = store::journal_entries(shop.state.paths.journal_file);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].kind, QStringLiteral("商品"));
  EXPECT_EQ(entries[0].file, QStringLiteral("shop.dat"));
  EXPECT_EQ(entries[0].before, QStringLiteral("商品=Cola\n单价=3.00\n编码="));

  // A record changed since the list was read is not deleted.
  store::DataFile::open(shop.state.paths.shop_file).update(second.id, {{store::shop::kPrice, QStringLiteral("2.20")}});
  dialogs.clear();
  dialogs.answer_yes();
  EXPECT_TRUE(del_shop(shop.state, QStringLiteral("Cola"), second));
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("该记录已被修改或删除，请刷新后再试。"));
  EXPECT_EQ(stored().size(), 2);
}

TEST_F(GoodsCatalogue, FindingGoodsReadsTheChosenRecordAndReportsAStoreFailureUnderTheGivenName) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("3.00"));
  const auto goods = find_goods(shop.state, shop.record_ref(shop.state.paths.shop_file, 1), QStringLiteral("List1_Click"));
  ASSERT_TRUE(goods);
  EXPECT_EQ(goods->price, QStringLiteral("3.00"));
  EXPECT_TRUE(dialogs.shown().empty());

  const store::RecordRef first = shop.record_ref(shop.state.paths.shop_file, 0);
  store::DataFile::open(shop.state.paths.shop_file).update(first.id, {{store::shop::kPrice, QStringLiteral("2.60")}});
  EXPECT_FALSE(find_goods(shop.state, first, QStringLiteral("List1_Click")));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("该记录已被修改或删除，请刷新后再试。")});

  dialogs.clear();
  QFile::remove(shop.state.paths.shop_file);
  EXPECT_FALSE(find_goods(shop.state, first, QStringLiteral("List1_Click")));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[List1_Click]")});
}

}  // namespace
}  // namespace tavuro::catalogues
