// The receipt's bytes to a printer's device file and over the network: the golden job
// arrives byte for byte, and each failure is named, within the 2 s a printer has to answer.

#include "printing/receipt_printer.h"
#include "printing/transport.h"

#include "support/golden_receipt.h"
#include "printing/escpos.h"
#include "support/printer_listener.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavuro::printing {
namespace {

namespace golden = testing::golden;

using testing::PrinterListener;

constexpr qint64 kToldWithinMs = 3000;

PrinterSetting device(const QString& path, int paper, bool cut, bool drawer) {
  return {PrinterKind::DeviceFile, path, kDefaultPort, paper, cut, drawer};
}
PrinterSetting network(quint16 port, int paper, bool cut, bool drawer) {
  return {PrinterKind::Network, QStringLiteral("127.0.0.1"), port, paper, cut, drawer};
}

// Prints the golden receipt's lines as the receipt does: through the line printer.
std::optional<QString> print_lines(const PrinterSetting& setting, const QStringList& lines) {
  EscPosPrinter printer(setting);
  printer.set_font_size(12);
  for (const QString& line : lines) printer.print_line(line);
  if (printer.end_doc()) return std::nullopt;
  return printer.failure();
}

QStringList lines_for(int paper) { return paper == 58 ? golden::narrow_lines() : golden::wide_lines(); }

struct Variant {
  int paper;
  bool cut;
  bool drawer;
};
const Variant kVariants[] = {{58, false, false}, {58, true, true}, {80, true, false}, {80, false, true}};

TEST(DeviceFile, GetsTheGoldenJobByteForByteAppendedJobAfterJob) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("lp0"));
  QByteArray expected;
  testing::write_bytes(path, {});
  for (const Variant& v : kVariants) {
    ASSERT_EQ(print_lines(device(path, v.paper, v.cut, v.drawer), lines_for(v.paper)), std::nullopt);
    expected += golden::job_of(lines_for(v.paper), v.cut, v.drawer);
    EXPECT_EQ(testing::read_bytes(path), expected) << v.paper << v.cut << v.drawer;
  }
}

TEST(DeviceFile, NamesAMissingDeviceAFolderAndABusyDevice) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("usb/lp0"));
  EXPECT_EQ(send_to_device(missing, "x"), QStringLiteral("找不到打印设备 %1（打印机没有接上或没有开机？）").arg(missing));
  EXPECT_FALSE(QFile::exists(missing));  // never created in its place

  EXPECT_EQ(send_to_device(dir.path(), "x"), QStringLiteral("%1 是文件夹，不是打印设备").arg(dir.path()));

  // Another job holds the device: this one neither waits nor mixes its bytes in.
  const QString path = dir.filePath(QStringLiteral("lp0"));
  testing::write_bytes(path, {});
  const int other = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  EXPECT_EQ(send_to_device(path, "x"), QStringLiteral("打印设备 %1 正忙（别的程序正在用它）").arg(path));
  ::close(other);
  EXPECT_EQ(send_to_device(path, "x"), std::nullopt);
  EXPECT_EQ(testing::read_bytes(path), QByteArray("x"));
}

// Runs work in a child process that has given up root for the unprivileged user nobody,
// and returns what it returned; nullopt when the user cannot be switched here.
std::optional<QString> as_nobody(const std::function<QString()>& work) {
  int channel[2];
  if (::pipe(channel) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
    const QByteArray text = work().toUtf8();
    const bool written = ::write(channel[1], text.constData(), static_cast<size_t>(text.size())) == text.size();
    ::_exit(written ? 0 : 1);
  }
  ::close(channel[1]);
  QByteArray text;
  char buffer[512];
  for (ssize_t count; (count = ::read(channel[0], buffer, sizeof buffer)) > 0;) text.append(buffer, count);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return QString::fromUtf8(text);
}

TEST(DeviceFile, NamesADeviceTheUserMayNotWriteAndTheGroupToJoin) {
  QTemporaryDir dir;
  ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
  const QString path = dir.filePath(QStringLiteral("lp0"));
  testing::write_bytes(path, {});
  // As /dev/usb/lp0 is: read and written by its owner and the lp group only.
  ::chmod(QFile::encodeName(path).constData(), 0660);
  const QString expected = QStringLiteral("没有使用打印设备 %1 的权限（用户须在 lp 组中）").arg(path);
  if (::geteuid() != 0) {
    ::chmod(QFile::encodeName(path).constData(), 0);
    EXPECT_EQ(send_to_device(path, "x"), expected);
    return;
  }
  const auto told = as_nobody([&] { return send_to_device(path, "x").value_or(QStringLiteral("printed")); });
  if (!told) GTEST_SKIP() << "cannot switch to the unprivileged user 65534 here; the permission case did not run";
  EXPECT_EQ(*told, expected);
  EXPECT_EQ(testing::read_bytes(path), QByteArray());
}

TEST(DeviceFile, APrinterThatTakesNoBytesForTwoSecondsIsNotAnswering) {
  // A pipe whose reader never reads stands for a printer that is off line: its buffer
  // fills, then it takes nothing more.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("lp0"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
  const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  QElapsedTimer timer;
  timer.start();
  const auto cause = send_to_device(path, QByteArray(1 << 20, 'x'));
  const qint64 elapsed = timer.elapsed();
  ::close(reader);
  EXPECT_EQ(cause, QStringLiteral("打印设备 %1 在 2 秒内没有应答（打印机脱机或缺纸？）").arg(path));
  EXPECT_GE(elapsed, kAnswerTime.count());
  EXPECT_LT(elapsed, kToldWithinMs);
}

TEST(Network, AListenerGetsTheStatusQueryThenTheGoldenJob) {
  PrinterListener printer;
  size_t jobs = 0;
  for (const Variant& v : kVariants) {
    ASSERT_EQ(print_lines(network(printer.port(), v.paper, v.cut, v.drawer), lines_for(v.paper)), std::nullopt);
    ASSERT_TRUE(printer.wait_for_jobs(++jobs));
    EXPECT_EQ(printer.jobs().back(), escpos::status_query() + golden::job_of(lines_for(v.paper), v.cut, v.drawer));
  }
  // A job far bigger than the socket's buffers arrives whole too.
  const QByteArray big(4 << 20, 'x');
  ASSERT_EQ(send_over_network(QStringLiteral("localhost"), printer.port(), big), std::nullopt);
  ASSERT_TRUE(printer.wait_for_jobs(++jobs));
  EXPECT_EQ(printer.jobs().back(), escpos::status_query() + big);
}

TEST(Network, ARefusedConnectionASilentPrinterAndAHangUpAreToldWithinThreeSeconds) {
  const quint16 closed = testing::closed_port();
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(print_lines(network(closed, 80, true, true), golden::wide_lines()),
            QStringLiteral("打印机 127.0.0.1:%1 拒绝连接（地址或端口不对，或打印机没有开机？）").arg(closed));
  EXPECT_LT(timer.elapsed(), kToldWithinMs);

  PrinterListener silent(PrinterListener::Behaviour::Silent);
  timer.restart();
  EXPECT_EQ(print_lines(network(silent.port(), 80, true, true), golden::wide_lines()),
            QStringLiteral("打印机 127.0.0.1:%1 在 2 秒内没有应答").arg(silent.port()));
  EXPECT_GE(timer.elapsed(), kAnswerTime.count());
  EXPECT_LT(timer.elapsed(), kToldWithinMs);

  PrinterListener hangs_up(PrinterListener::Behaviour::HangsUp);
  timer.restart();
  EXPECT_EQ(print_lines(network(hangs_up.port(), 58, false, false), golden::narrow_lines()),
            QStringLiteral("打印机 127.0.0.1:%1 断开了连接").arg(hangs_up.port()));
  EXPECT_LT(timer.elapsed(), kToldWithinMs);
}

TEST(TestPrint, GoesToThePrinterOfTheSettingOrNamesTheCause) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("lp0"));
  testing::write_bytes(path, {});
  const PrinterSetting setting = device(path, 58, true, false);
  const QDateTime now(QDate(2003, 5, 7), QTime(15, 5, 9));
  EXPECT_EQ(print_test_page(setting, now), std::nullopt);
  EXPECT_EQ(testing::read_bytes(path), escpos::job(test_page(setting, now), true, false));
  EXPECT_EQ(print_test_page(device(dir.filePath(QStringLiteral("none")), 58, true, false), now),
            QStringLiteral("找不到打印设备 %1（打印机没有接上或没有开机？）").arg(dir.filePath(QStringLiteral("none"))));
  EXPECT_EQ(not_printed_message(QStringLiteral("原因")), QStringLiteral("收据未能打印：原因。"));
}

}  // namespace
}  // namespace tavuro::printing
