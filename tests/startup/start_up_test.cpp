#include "startup/start_up.h"

#include "platform/text_file.h"
#include "startup/data_files.h"
#include "startup/paths.h"
#include "startup/settings.h"
#include "store/data_file.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tavuro::startup {
namespace {

using testing::read_bytes;
using testing::ScriptedDialogs;
using testing::write_bytes;

// Every file below a folder with its bytes, to compare two states of a shop.
QMap<QString, QByteArray> snapshot(const QString& root) {
  QMap<QString, QByteArray> files;
  QDir dir(root);
  for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (info.isDir()) {
      for (const auto& [name, bytes] : snapshot(info.filePath()).asKeyValueRange()) {
        files.insert(info.fileName() + QLatin1Char('/') + name, bytes);
      }
    } else {
      files.insert(info.fileName(), read_bytes(info.filePath()));
    }
  }
  return files;
}

class StartUpTest : public ::testing::Test {
 protected:
  bool start(const QDate& day = QDate(2003, 5, 7)) {
    window_shown = false;
    return start_up(state, temp.path(), day, [this](AppState&) { window_shown = true; });
  }
  QString file(const char* name) const { return app_file(temp.path(), QString::fromUtf8(name)); }

  QTemporaryDir temp;
  AppState state;
  ScriptedDialogs dialogs;
  bool window_shown = false;
};

TEST_F(StartUpTest, AFirstStartCreatesTheMonthFolderTheDayFileAndEverySettingFile) {
  ASSERT_TRUE(start());
  EXPECT_TRUE(window_shown);
  const auto files = snapshot(temp.path());
  EXPECT_EQ(files.keys(),
            (QStringList{QStringLiteral("2003_5/7.day"), QStringLiteral("2003_5/journal.db"), QStringLiteral("co.dat"), QStringLiteral("kefu.dat"),
                         QStringLiteral("nober.dat"), QStringLiteral("p.dat"), QStringLiteral("public.dat"),
                         QStringLiteral("shop.dat"), QStringLiteral("use.dat")}));
  EXPECT_EQ(files[QStringLiteral("nober.dat")], QByteArray("0"));
  EXPECT_EQ(files[QStringLiteral("co.dat")], QByteArray(" "));
  EXPECT_EQ(files[QStringLiteral("p.dat")], QByteArray(" "));
  EXPECT_EQ(platform::from_file_bytes(files[QStringLiteral("public.dat")]), QStringLiteral("屏蔽 = no"));
  EXPECT_EQ(files[QStringLiteral("public.dat")], platform::setting_file_bytes(QStringLiteral("屏蔽 = no")));
  EXPECT_EQ(store::DataFile::open(file("2003_5/7.day")).fields(), store::day_schema().names());
  EXPECT_EQ(store::DataFile::open(file("shop.dat")).fields(), store::shop_schema().names());
  EXPECT_EQ(store::DataFile::open(file("use.dat")).fields(), QStringList{QStringLiteral("名单")});
  EXPECT_EQ(store::DataFile::open(file("kefu.dat")).fields(), QStringList{QStringLiteral("名单")});
  EXPECT_EQ(state.receipt_counter, 0);
  EXPECT_EQ(state.company_name, QString());
  EXPECT_EQ(state.admin_password, QString());
  EXPECT_EQ(state.mask_setting, kMaskOff);
  EXPECT_TRUE(state.receipt_printer.is_system());  // and no printer.dat is made
  EXPECT_EQ(state.paths.day_backup, file("2003_5/7.bak"));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(StartUpTest, ASecondStartChangesNothing) {
  ASSERT_TRUE(start());
  const auto before = snapshot(temp.path());
  ASSERT_TRUE(start());
  EXPECT_EQ(snapshot(temp.path()), before);
}

TEST_F(StartUpTest, ANewMonthGetsANewFolderAndTheOldOneStays) {
  ASSERT_TRUE(start(QDate(2003, 5, 31)));
  ASSERT_TRUE(start(QDate(2003, 6, 1)));
  EXPECT_TRUE(QFileInfo(file("2003_5/31.day")).isFile());
  EXPECT_TRUE(QFileInfo(file("2003_6/1.day")).isFile());
  EXPECT_EQ(state.paths.day_file, file("2003_6/1.day"));
}

TEST_F(StartUpTest, SettingFilesAreReadByTheirRules) {
  write_bytes(file("nober.dat"), "57");
  write_bytes(file("co.dat"), platform::to_local_code_page(QStringLiteral("  天天小店  \r\nsecond line")));
  write_bytes(file("p.dat"), " secret ");
  write_bytes(file("public.dat"), "hello");
  write_bytes(file("printer.dat"), "escpos:tcp:192.168.1.50:9100?width=58&cut=1&drawer=1");
  ASSERT_TRUE(start());
  EXPECT_EQ(state.receipt_printer, (printing::PrinterSetting{printing::PrinterKind::Network,
                                                             QStringLiteral("192.168.1.50"), 9100, 58, true, true}));
  EXPECT_EQ(state.receipt_counter, 57);
  EXPECT_EQ(state.company_name, QStringLiteral("天天小店"));
  EXPECT_EQ(state.admin_password, QStringLiteral("secret"));
  EXPECT_EQ(state.mask_setting, kMaskOff);
  EXPECT_EQ(read_bytes(file("public.dat")), QByteArray("hello")) << "the mask file keeps its text";
}

TEST_F(StartUpTest, OddSettingFilesFallBackToTheirDefaults) {
  write_bytes(file("nober.dat"), "fifty");
  write_bytes(file("p.dat"), "");
  write_bytes(file("public.dat"), platform::to_local_code_page(QStringLiteral("屏蔽 = yes")));
  write_bytes(file("printer.dat"), "escpos:tcp:192.168.1.50:9100?width=57");
  state.admin_password = QStringLiteral("stale");
  state.receipt_printer.kind = printing::PrinterKind::Cups;
  ASSERT_TRUE(start());
  EXPECT_TRUE(state.receipt_printer.is_system());
  EXPECT_EQ(state.receipt_counter, 0);
  EXPECT_EQ(state.admin_password, QString());
  EXPECT_EQ(state.mask_setting, kMaskOn);
}

TEST_F(StartUpTest, SettingFilesWrittenByHandInUtf8AreReadToo) {
  for (const QString& company : {QStringLiteral("天天小店"), QStringLiteral("Café"), QStringLiteral("Müller GmbH"),
                                 QStringLiteral("Crème brûlée 甜品店")}) {
    write_bytes(file("co.dat"), company.toUtf8());
    write_bytes(file("public.dat"), QStringLiteral("屏蔽 = no").toUtf8());
    ASSERT_TRUE(start());
    EXPECT_EQ(state.company_name, company);
    EXPECT_EQ(state.mask_setting, kMaskOff);
  }
}

TEST_F(StartUpTest, SettingFilesOfAnOlderInstallInGbkAreReadRight) {
  // GBK bytes that are valid UTF-8 as well (小学 is D0 A1 D1 A7, the UTF-8 of Сѧ).
  for (const QString& company : {QStringLiteral("小学"), QStringLiteral("一品山水"), QStringLiteral("兴隆超市")}) {
    write_bytes(file("co.dat"), platform::to_local_code_page(company));
    ASSERT_TRUE(start());
    EXPECT_EQ(state.company_name, company);
  }
}

TEST_F(StartUpTest, AnErrorShowsTheOneStartUpMessage) {
  // A day file that cannot be made: its name is taken by a file where the month folder
  // should be.
  write_bytes(file("2003_5"), "not a folder");
  EXPECT_FALSE(start());
  EXPECT_FALSE(window_shown);
  ASSERT_EQ(dialogs.messages(), QStringList{kStartupMessage});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
}

TEST_F(StartUpTest, AnErrorWhileTheWindowLoadsEndsStartUpWithTheMessage) {
  const bool ok = start_up(state, temp.path(), QDate(2003, 5, 7),
                           [](AppState&) { throw store::StoreError(store::StoreError::Kind::Io, {}, {}); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(dialogs.messages(), QStringList{kStartupMessage});
  EXPECT_FALSE(QFileInfo::exists(file("kefu.dat"))) << "nothing is done after the message";
}

TEST(Paths, ARootDirectoryGetsNoDoubledSeparator) {
  const Paths root = make_paths(QStringLiteral("/"), QDate(2003, 5, 7));
  EXPECT_EQ(root.month_folder, QStringLiteral("/2003_5"));
  EXPECT_EQ(root.shop_file, QStringLiteral("/shop.dat"));
  EXPECT_EQ(root.shop_backup, QStringLiteral("/shop.bak"));
  const Paths pos = make_paths(QStringLiteral("/srv/pos"), QDate(2003, 12, 31));
  EXPECT_EQ(pos.month_folder, QStringLiteral("/srv/pos/2003_12"));
  EXPECT_EQ(pos.day_file, QStringLiteral("/srv/pos/2003_12/31.day"));
  EXPECT_EQ(pos.day_backup, QStringLiteral("/srv/pos/2003_12/31.bak"));
  EXPECT_EQ(pos.nober_file, QStringLiteral("/srv/pos/nober.dat"));
}

TEST(ReceiptNumber, SixDigitsZeroPaddedAndLongerCountersWhole) {
  EXPECT_EQ(receipt_number_text(0), QStringLiteral("000000"));
  EXPECT_EQ(receipt_number_text(57), QStringLiteral("000057"));
  EXPECT_EQ(receipt_number_text(1234567), QStringLiteral("1234567"));
}

}  // namespace
}  // namespace tavuro::startup
