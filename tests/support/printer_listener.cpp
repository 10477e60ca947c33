#include "support/printer_listener.h"

#include "support/waiting.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavuro::testing {

namespace {

constexpr char kDle = 0x10;
constexpr char kEot = 0x04;

int bound_socket(quint16& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

quint16 closed_port() {
  // Bound but not listening: the port stays taken by this test, and refuses connections.
  static quint16 port = 0;
  static const int fd = bound_socket(port);
  (void)fd;
  return port;
}

PrinterListener::PrinterListener(Behaviour behaviour) : behaviour_(behaviour) {
  listener_ = bound_socket(port_);
  ::listen(listener_, 8);
  if (::pipe2(stop_, O_CLOEXEC) != 0) stop_[0] = stop_[1] = -1;
  thread_ = std::thread([this] { run(); });
}

PrinterListener::~PrinterListener() {
  const char stop = 1;
  if (::write(stop_[1], &stop, 1) != 1) ::shutdown(listener_, SHUT_RDWR);
  thread_.join();
  for (const int fd : held_) ::close(fd);
  for (const int fd : {listener_, stop_[0], stop_[1]}) ::close(fd);
}

void PrinterListener::run() {
  for (;;) {
    pollfd entries[2] = {{listener_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    if (::poll(entries, 2, -1) < 0) continue;
    if (entries[1].revents != 0) return;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    switch (behaviour_) {
      case Behaviour::Silent: held_.push_back(client); break;
      case Behaviour::HangsUp: ::close(client); break;
      case Behaviour::Printer: serve(client); break;
    }
  }
}

void PrinterListener::serve(int client) {
  QByteArray received;
  qsizetype scanned = 0;
  for (;;) {
    pollfd entries[2] = {{client, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    if (::poll(entries, 2, -1) < 0) continue;
    if (entries[1].revents != 0) break;
    char buffer[4096];
    const ssize_t count = ::recv(client, buffer, sizeof buffer, 0);
    if (count <= 0) break;
    received.append(buffer, count);
    // A status query is answered at once, wherever it comes in the stream.
    for (; scanned + 2 < received.size(); ++scanned) {
      if (received[scanned] == kDle && received[scanned + 1] == kEot) {
        const char status = kStatus;
        ::send(client, &status, 1, MSG_NOSIGNAL);
      }
    }
  }
  ::close(client);
  const std::lock_guard lock(mutex_);
  jobs_.push_back(received);
  changed_.notify_all();
}

std::vector<QByteArray> PrinterListener::jobs() const {
  const std::lock_guard lock(mutex_);
  return jobs_;
}

bool PrinterListener::wait_for_jobs(size_t count) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, kPatience, [&] { return jobs_.size() >= count; });
}

}  // namespace tavuro::testing
