// A printer on the network, on its raw port (9100): the bytes go as they are.

#include "printing/descriptor.h"
#include "printing/escpos.h"
#include "printing/transport.h"

#include <QUrl>

#include <cerrno>
#include <cstring>

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

namespace tavuro::printing {

namespace {

struct AddressList {
  addrinfo* first = nullptr;
  ~AddressList() {
    if (first != nullptr) ::freeaddrinfo(first);
  }
};

QString no_answer(const QString& name) {
  return QStringLiteral("打印机 %1 在 %2 秒内没有应答").arg(name).arg(kAnswerTime.count() / 1000);
}

QString connect_failure(const QString& name, int error) {
  switch (error) {
    case ECONNREFUSED: return QStringLiteral("打印机 %1 拒绝连接（地址或端口不对，或打印机没有开机？）").arg(name);
    case ETIMEDOUT: return no_answer(name);
    case ENETUNREACH:
    case EHOSTUNREACH: return QStringLiteral("网络上找不到打印机 %1").arg(name);
    default: return QStringLiteral("连接打印机 %1 时出错：%2").arg(name, QString::fromLocal8Bit(std::strerror(error)));
  }
}

QString lost(const QString& name) { return QStringLiteral("打印机 %1 断开了连接").arg(name); }

// A connected socket, or the errno of the last address tried (ETIMEDOUT when one gave no answer).
Descriptor connect_to(const addrinfo* address, int& error) {
  Descriptor socket(::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                             address->ai_protocol));
  if (!socket) {
    error = errno;
    return {};
  }
  if (::connect(socket.get(), address->ai_addr, address->ai_addrlen) == 0) return socket;
  if (errno != EINPROGRESS) {
    error = errno;
    return {};
  }
  switch (wait_for(socket.get(), POLLOUT, kAnswerTime)) {
    case Wait::Ready: break;
    case Wait::TimedOut: error = ETIMEDOUT; return {};
    case Wait::Failed: error = errno; return {};
  }
  socklen_t length = sizeof error;
  if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  if (error != 0) return {};
  return socket;
}

// Reads and drops what the printer has sent (status bytes): closing a socket with unread
// data would reset the connection and lose what is still on its way to the printer.
void drop_input(int fd) {
  char buffer[256];
  while (::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
  }
}

}  // namespace

std::optional<QString> send_over_network(const QString& host, quint16 port, const QByteArray& bytes) {
  PrinterSetting setting{PrinterKind::Network, host, port};
  const QString name = printer_name(setting);

  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  AddressList addresses;
  const QByteArray service = QByteArray::number(port);
  // A name in Chinese is looked up in its ASCII form; an address is taken as it is.
  QByteArray node = host.contains(QLatin1Char(':')) ? host.toLatin1() : QUrl::toAce(host);
  if (node.isEmpty()) node = host.toUtf8();
  if (::getaddrinfo(node.constData(), service.constData(), &hints, &addresses.first) != 0) {
    return QStringLiteral("找不到打印机 %1（主机名无法解析）").arg(name);
  }
  int error = ECONNREFUSED;
  Descriptor socket;
  for (const addrinfo* address = addresses.first; address != nullptr && !socket; address = address->ai_next) {
    socket = connect_to(address, error);
  }
  if (!socket) return connect_failure(name, error);
  // Each write goes at once: waiting to fill a segment would hold back the job's last
  // bytes until the printer acknowledged the ones before (up to 40 ms on Linux).
  const int on = 1;
  ::setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

  // A printer answers its status at once; one that does not will not print either.
  const QByteArray query = escpos::status_query();
  if (write_all(socket.get(), query.constData(), query.size(), kAnswerTime, true).wait != Wait::Ready) {
    return lost(name);
  }
  if (wait_for(socket.get(), POLLIN, kAnswerTime) != Wait::Ready) return no_answer(name);
  char status = 0;
  if (::recv(socket.get(), &status, 1, 0) <= 0) return lost(name);

  const WriteOutcome outcome = write_all(socket.get(), bytes.constData(), bytes.size(), kAnswerTime, true);
  if (outcome.wait == Wait::TimedOut) return no_answer(name);
  if (outcome.wait == Wait::Failed) return lost(name);
  // The last byte is with the system, which delivers it after the close; ending our side
  // first (FIN after the data) and leaving nothing unread keeps the close from being a reset.
  ::shutdown(socket.get(), SHUT_WR);
  drop_input(socket.get());
  return std::nullopt;
}

}  // namespace tavuro::printing
