// The frame 收据打印机 of the print settings window: each kind of receipt printer saved to
// printer.dat and shown again, a line that is no setting told, an incomplete choice
// refused, and the test print on the printer shown.

#include "reports/frm_print_settings.h"

#include "platform/text_file.h"
#include "printing/escpos.h"
#include "printing/receipt_layout.h"
#include "support/keyboard.h"
#include "support/modal_windows.h"
#include "support/printer_listener.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace tavuro::reports {
namespace {

using testing::ScriptedDialogs;
using testing::ShopFixture;

class PrintSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    shop.state.company_name = QStringLiteral("天河");
    // The CUPS queues offered come from a server that is not there, not this machine's.
    qputenv("CUPS_SERVER", QFile::encodeName(shop.file(QStringLiteral("no-cups.sock"))));
  }

  // Opens the window as the menu does, shown and active.
  Frm_打印设置& open() {
    window = std::make_unique<Frm_打印设置>(shop.state);
    testing::show_active(*window);
    return *window;
  }
  template <typename T>
  T* find(const char* name) const {
    T* child = window->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QRadioButton* option(const char* name) const { return find<QRadioButton>(name); }
  QLineEdit* text(const char* name) const { return find<QLineEdit>(name); }
  QComboBox* combo(const char* name) const { return find<QComboBox>(name); }
  QCheckBox* check(const char* name) const { return find<QCheckBox>(name); }
  QPushButton* button(const char* name) const { return find<QPushButton>(name); }

  // Replaces the text of a box as a user does: select all, type.
  void retype(QWidget* box, const QString& text) {
    box->setFocus();
    testing::press_key(box, Qt::Key_A, Qt::ControlModifier);
    testing::press_delete();
    testing::type_into(box, text);
  }

  QByteArray printer_file() const { return testing::read_bytes(shop.state.paths.printer_file); }

  ShopFixture shop;
  ScriptedDialogs dialogs;
  std::unique_ptr<Frm_打印设置> window;
};

TEST_F(PrintSettings, EachKindIsSavedToPrinterDatAndShownAgain) {
  open();
  // No printer.dat: the system printer, whose paper options are not asked for.
  EXPECT_TRUE(option("Option1")->isChecked());
  EXPECT_FALSE(combo("Combo2")->isEnabled());
  EXPECT_FALSE(text("Text3")->isEnabled());
  EXPECT_FALSE(find<QLabel>("Label3")->isVisible());
  EXPECT_TRUE(find<QLabel>("Label2")->text().contains(QStringLiteral("仍由系统打印机打印")));

  option("Option4")->click();
  EXPECT_TRUE(text("Text3")->isEnabled());
  retype(text("Text3"), QStringLiteral("127.0.0.1"));
  retype(text("Text4"), QStringLiteral("6001"));
  combo("Combo2")->setCurrentIndex(combo("Combo2")->findData(58));
  check("Check2")->click();
  button("Command1")->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("成功保存!")});
  EXPECT_EQ(printer_file(), QByteArray("escpos:tcp:127.0.0.1:6001?width=58&cut=1&drawer=0"));
  EXPECT_EQ(shop.state.receipt_printer,
            (printing::PrinterSetting{printing::PrinterKind::Network, QStringLiteral("127.0.0.1"), 6001, 58, true, false}));
  EXPECT_EQ(platform::read_first_line(shop.state.paths.co_file), QStringLiteral("天河"));

  window->close();
  open();
  EXPECT_TRUE(option("Option4")->isChecked());
  EXPECT_EQ(text("Text3")->text(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(text("Text4")->text(), QStringLiteral("6001"));
  EXPECT_EQ(combo("Combo2")->currentData().toInt(), 58);
  EXPECT_TRUE(check("Check2")->isChecked());
  EXPECT_FALSE(check("Check3")->isChecked());

  // A CUPS queue with a Chinese name, written in the code page of the other files.
  option("Option3")->click();
  retype(combo("Combo1"), QStringLiteral("收据"));
  check("Check3")->click();
  button("Command1")->click();
  EXPECT_EQ(platform::read_first_line(shop.state.paths.printer_file),
            QStringLiteral("escpos:cups:收据?width=58&cut=1&drawer=1"));
  EXPECT_EQ(printer_file(), platform::setting_file_bytes(QStringLiteral("escpos:cups:收据?width=58&cut=1&drawer=1")));

  option("Option2")->click();
  retype(text("Text2"), QStringLiteral("/dev/usb/lp0"));
  combo("Combo2")->setCurrentIndex(combo("Combo2")->findData(80));
  button("Command1")->click();
  EXPECT_EQ(printer_file(), QByteArray("escpos:file:/dev/usb/lp0?width=80&cut=1&drawer=1"));

  option("Option1")->click();
  button("Command1")->click();
  EXPECT_EQ(printer_file(), QByteArray("system"));
  EXPECT_TRUE(shop.state.receipt_printer.is_system());
}

TEST_F(PrintSettings, ALineThatIsNoSettingIsToldAndReplacedOnSave) {
  testing::write_bytes(shop.state.paths.printer_file, "escpos:lpt1?width=80");
  open();
  auto* notice = find<QLabel>("Label3");
  EXPECT_TRUE(notice->isVisible());
  EXPECT_EQ(notice->text(), QStringLiteral("printer.dat 中的“escpos:lpt1?width=80”无法识别，收据现由系统打印机打印。"));
  EXPECT_TRUE(option("Option1")->isChecked());

  // Even with a blank company name, saving writes the printer that is shown.
  text("Text1")->setText(QStringLiteral("  "));
  button("Command1")->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("成功保存!")});
  EXPECT_EQ(printer_file(), QByteArray("system"));
  EXPECT_EQ(shop.state.company_name, QStringLiteral("天河"));
  EXPECT_FALSE(notice->isVisible());

  // Then a blank name and the same printer save nothing, as before.
  dialogs.clear();
  button("Command1")->click();
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(PrintSettings, AChoiceWithoutItsPrinterIsRefusedAndNothingIsWritten) {
  open();
  option("Option2")->click();
  button("Command1")->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("请输入打印机设备文件的完整路径，例如 /dev/usb/lp0。")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_FALSE(QFile::exists(shop.state.paths.printer_file));
  EXPECT_TRUE(shop.state.receipt_printer.is_system());

  dialogs.clear();
  option("Option4")->click();
  retype(text("Text3"), QStringLiteral("printer.local"));
  retype(text("Text4"), QString());
  button("Command3")->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("请输入 1 到 65535 之间的端口号（一般是 9100）。")});
}

TEST_F(PrintSettings, TheTestPrintGoesToThePrinterShownAndTellsTheOutcome) {
  const QString device = shop.file(QStringLiteral("lp0"));
  testing::write_bytes(device, {});
  open();
  option("Option2")->click();
  retype(text("Text2"), device);
  combo("Combo2")->setCurrentIndex(combo("Combo2")->findData(58));
  button("Command3")->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("测试页已送到%1。").arg(device)});
  const printing::PrinterSetting shown{printing::PrinterKind::DeviceFile, device, 9100, 58, false, false};
  EXPECT_EQ(testing::read_bytes(device), printing::escpos::job(printing::test_page(shown, shop.clock.now()), false, false));
  // Trying a printer does not save it.
  EXPECT_FALSE(QFile::exists(shop.state.paths.printer_file));

  dialogs.clear();
  const quint16 port = testing::closed_port();
  option("Option4")->click();
  retype(text("Text3"), QStringLiteral("127.0.0.1"));
  retype(text("Text4"), QString::number(port));
  QElapsedTimer timer;
  timer.start();
  button("Command3")->click();
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_EQ(dialogs.messages(),
            QStringList{QStringLiteral("收据未能打印：打印机 127.0.0.1:%1 拒绝连接（地址或端口不对，或打印机没有开机？）。")
                            .arg(port)});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  // The window goes on: the printer can be saved after all.
  dialogs.clear();
  button("Command1")->click();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("成功保存!")});
  EXPECT_EQ(printer_file(), QStringLiteral("escpos:tcp:127.0.0.1:%1?width=58&cut=0&drawer=0").arg(port).toUtf8());
}

}  // namespace
}  // namespace tavuro::reports
