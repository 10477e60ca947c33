// printer.dat: the line of each kind of receipt printer, read back as it was written, and
// every line that is no setting falling back to the system printer.

#include "printing/printer_setting.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

namespace tavuro::printing {
namespace {

PrinterSetting setting(PrinterKind kind, const char* target, int paper, bool cut, bool drawer, quint16 port = 9100) {
  return {kind, QString::fromUtf8(target), port, paper, cut, drawer};
}

TEST(PrinterSettingLine, EachKindIsWrittenAndReadBackAsItWas) {
  const struct {
    PrinterSetting setting;
    const char* line;
  } cases[] = {
      {PrinterSetting{}, "system"},
      {setting(PrinterKind::DeviceFile, "/dev/usb/lp0", 80, true, true), "escpos:file:/dev/usb/lp0?width=80&cut=1&drawer=1"},
      {setting(PrinterKind::Cups, "收据", 58, false, false), "escpos:cups:收据?width=58&cut=0&drawer=0"},
      {setting(PrinterKind::Network, "127.0.0.1", 80, true, false), "escpos:tcp:127.0.0.1:9100?width=80&cut=1&drawer=0"},
      {setting(PrinterKind::Network, "pos-printer.local", 58, false, true, 6001),
       "escpos:tcp:pos-printer.local:6001?width=58&cut=0&drawer=1"},
      {setting(PrinterKind::Network, "::1", 80, false, false), "escpos:tcp:[::1]:9100?width=80&cut=0&drawer=0"},
      // A device path may hold a "?" of its own: the options follow the last one.
      {setting(PrinterKind::DeviceFile, "/tmp/odd?name", 58, true, false), "escpos:file:/tmp/odd?name?width=58&cut=1&drawer=0"},
  };
  for (const auto& c : cases) {
    const QString line = QString::fromUtf8(c.line);
    EXPECT_EQ(setting_line(c.setting), line);
    EXPECT_EQ(parse_setting_line(line), c.setting) << c.line;
  }
}

TEST(PrinterSettingLine, OptionsLeftOutTakeTheirDefaultsAndSpacesAroundAreDropped) {
  EXPECT_EQ(parse_setting_line(QStringLiteral("escpos:file:/dev/usb/lp0")),
            setting(PrinterKind::DeviceFile, "/dev/usb/lp0", 80, false, false));
  EXPECT_EQ(parse_setting_line(QStringLiteral("  escpos:tcp:10.0.0.7?cut=1  ")),
            setting(PrinterKind::Network, "10.0.0.7", 80, true, false));
  EXPECT_EQ(parse_setting_line(QStringLiteral("escpos:tcp:[fe80::1]?width=58")),
            setting(PrinterKind::Network, "fe80::1", 58, false, false));
  EXPECT_EQ(parse_setting_line(QStringLiteral(" system ")), PrinterSetting{});
}

TEST(PrinterSettingLine, ALineThatIsNoSettingIsNotUnderstood) {
  const char* lines[] = {
      "", "System", "escpos", "escpos:", "escpos:lpt:/dev/lp0", "escpos:file:", "escpos:file:dev/usb/lp0",
      "escpos:file:/dev/usb/lp0?width=70", "escpos:file:/dev/usb/lp0?width=", "escpos:file:/dev/usb/lp0?cut=2",
      "escpos:file:/dev/usb/lp0?cut=yes", "escpos:file:/dev/usb/lp0?paper=80", "escpos:file:/dev/usb/lp0?width=80&width=58",
      "escpos:file:/dev/usb/lp0?cut", "escpos:cups:", "escpos:cups:a/b", "escpos:cups:two words", "escpos:cups:a#b",
      "escpos:tcp:", "escpos:tcp::9100", "escpos:tcp:host:0", "escpos:tcp:host:65536", "escpos:tcp:host:91x0",
      "escpos:tcp:host:", "escpos:tcp:fe80::1", "escpos:tcp:[::1", "escpos:tcp:[::1]9100", "escpos:tcp:a b:9100",
  };
  for (const char* line : lines) {
    EXPECT_EQ(parse_setting_line(QString::fromUtf8(line)), std::nullopt) << line;
  }
  // Nor is a setting with no place to print, which therefore is never written.
  EXPECT_FALSE(is_usable(setting(PrinterKind::DeviceFile, "", 80, false, false)));
  EXPECT_FALSE(is_usable(setting(PrinterKind::Network, "host", 80, false, false, 0)));
  EXPECT_FALSE(is_usable(setting(PrinterKind::Cups, "收据", 76, false, false)));
  EXPECT_TRUE(is_usable(setting(PrinterKind::Cups, "收据", 58, false, false)));
}

TEST(PrinterFile, MissingEmptyOrUnreadableMeansTheSystemPrinter) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("printer.dat"));
  StoredSetting stored = read_printer_file(path);
  EXPECT_TRUE(stored.understood);
  EXPECT_TRUE(stored.setting.is_system());

  testing::write_bytes(path, "   ");
  stored = read_printer_file(path);
  EXPECT_TRUE(stored.understood);
  EXPECT_TRUE(stored.setting.is_system());

  // A folder in its place cannot be read as a file.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.dat")));
  stored = read_printer_file(dir.filePath(QStringLiteral("folder.dat")));
  EXPECT_TRUE(stored.understood);
  EXPECT_TRUE(stored.setting.is_system());
}

TEST(PrinterFile, IsOneLineInTheCodePageOfTheOtherFilesAndALineNotUnderstoodIsKept) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("printer.dat"));
  const PrinterSetting queue = setting(PrinterKind::Cups, "收据", 58, true, true);
  ASSERT_TRUE(write_printer_file(path, queue));
  // Like co.dat and p.dat: UTF-8 after its byte-order mark.
  EXPECT_EQ(testing::read_bytes(path),
            QByteArray("\xEF\xBB\xBF") + QStringLiteral("escpos:cups:收据?width=58&cut=1&drawer=1").toUtf8());
  EXPECT_EQ(read_printer_file(path).setting, queue);

  // A line a person wrote in UTF-8 is read too.
  testing::write_bytes(path, QStringLiteral("escpos:tcp:收据机:9100\r\nsecond line").toUtf8());
  EXPECT_EQ(read_printer_file(path).setting, setting(PrinterKind::Network, "收据机", 80, false, false));

  testing::write_bytes(path, "escpos:serial:/dev/ttyS0?width=80");
  const StoredSetting stored = read_printer_file(path);
  EXPECT_FALSE(stored.understood);
  EXPECT_TRUE(stored.setting.is_system());
  EXPECT_EQ(stored.line, QStringLiteral("escpos:serial:/dev/ttyS0?width=80"));
}

}  // namespace
}  // namespace tavuro::printing
