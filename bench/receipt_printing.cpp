#include "receipt_printing.h"

#include "cashier/frm_shop.h"
#include "platform/clock.h"
#include "printing/printer_setting.h"
#include "startup/start_up.h"
#include "store/data_file.h"
#include "store/schemas.h"
#include "timing.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <atomic>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavuro::bench {

namespace {

constexpr int kLines = 20;
constexpr int kRepetitions = 200;

// A network printer on 127.0.0.1: takes every connection's bytes and answers each status
// query (DLE EOT n) with "online, paper present".
class PrinterSink {
 public:
  PrinterSink() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    ::listen(listener_, 16);
    thread_ = std::thread([this] { run(); });
  }
  ~PrinterSink() {
    stop_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
  }
  quint16 port() const { return port_; }

 private:
  void run() {
    while (!stop_) {
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      char buffer[8192];
      char previous = 0;
      for (ssize_t count; (count = ::recv(client, buffer, sizeof buffer, 0)) > 0;) {
        for (ssize_t i = 0; i < count; ++i) {
          if (previous == 0x10 && buffer[i] == 0x04) {
            const char status = 0x12;
            ::send(client, &status, 1, MSG_NOSIGNAL);
          }
          previous = buffer[i];
        }
      }
      ::close(client);
    }
  }

  int listener_ = -1;
  quint16 port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void raw_to_file(const QString& path, const QByteArray& bytes) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0 || ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size()) std::abort();
  ::close(fd);
}

void raw_to_network(quint16 port, const QByteArray& bytes) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::send(fd, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL) != bytes.size()) {
    std::abort();
  }
  ::close(fd);
}

}  // namespace

void receipt_printing(const QString& data_dir, Table& table) {
  const QString app_dir = data_dir + QStringLiteral("/receipt");
  QDir(app_dir).removeRecursively();
  QDir().mkpath(app_dir);
  platform::FixedClock clock(QDateTime(QDate(2026, 1, 15), QTime(9, 30, 0)));
  platform::ScopedClock clock_scope(clock);

  startup::AppState state;
  startup::start_up(state, app_dir, clock.now().date(), [](startup::AppState&) {});
  auto goods = store::DataFile::open(state.paths.shop_file);
  for (int i = 1; i <= kLines; ++i) {
    goods.append({{store::shop::kGoods, QStringLiteral("特级绿茶%1号500g").arg(i)},
                  {store::shop::kPrice, QStringLiteral("%1.99").arg(i)}});
  }
  state.current_operator = QStringLiteral("员01");
  state.company_name = QStringLiteral("天天便利店");
  cashier::Frm_shop window(state);
  window.show();
  QApplication::processEvents();

  auto* command4 = window.findChild<QPushButton*>(QStringLiteral("Command4"));
  auto* command1 = window.findChild<QPushButton*>(QStringLiteral("Command1"));
  auto* command3 = window.findChild<QPushButton*>(QStringLiteral("Command3"));
  command4->click();
  for (int i = 1; i <= kLines; ++i) {
    command1->setFocus();
    window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("特级绿茶%1号500g").arg(i));
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("2.00"));
    window.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("%1.99").arg(i));
    window.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("%1.98").arg(2 * i + 1));
    command1->click();
  }

  const QString device = app_dir + QStringLiteral("/lp0");
  QFile(device).open(QIODevice::WriteOnly);
  PrinterSink sink;
  const printing::PrinterSetting on_device{printing::PrinterKind::DeviceFile, device, printing::kDefaultPort, 80, true,
                                          true};
  const printing::PrinterSetting on_network{printing::PrinterKind::Network, QStringLiteral("127.0.0.1"), sink.port(),
                                           80, true, true};
  const auto print = [&](const printing::PrinterSetting& setting) {
    state.receipt_printer = setting;
    command3->setEnabled(true);
    command3->click();
  };

  // The bytes of one receipt, as the program wrote them: what the baseline writes.
  print(on_device);
  QFile written(device);
  written.open(QIODevice::ReadOnly);
  const QByteArray job = written.readAll();

  Timing program;
  Timing baseline;
  alternate(kRepetitions, program, [&] { print(on_device); }, baseline, [&] { raw_to_file(device, job); });
  const QString name = QStringLiteral("7 print a %1-line receipt (%2 bytes) to a device file").arg(kLines).arg(job.size());
  table.add(name + QStringLiteral(", median"), program.median(), baseline.median(), QStringLiteral("< 50 ms"));
  table.add(name + QStringLiteral(", p99"), program.p99(), baseline.p99(), QStringLiteral("< 50 ms"));

  Timing program_net;
  Timing baseline_net;
  alternate(kRepetitions, program_net, [&] { print(on_network); }, baseline_net, [&] { raw_to_network(sink.port(), job); });
  const QString net = QStringLiteral("7 print a %1-line receipt to a network printer on 127.0.0.1").arg(kLines);
  table.add(net + QStringLiteral(", median"), program_net.median(), baseline_net.median(), QStringLiteral("< 50 ms"));
  table.add(net + QStringLiteral(", p99"), program_net.p99(), baseline_net.p99(), QStringLiteral("< 50 ms"));
}

}  // namespace tavuro::bench
