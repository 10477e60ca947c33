#pragma once
// A network receipt printer on 127.0.0.1, on a free port, for the tests: it accepts
// connections on a thread of its own and, as a printer does, answers each status query
// (DLE EOT n) at once and keeps every byte it is sent. A silent one accepts connections
// and never reads or answers; one that hangs up closes each connection at once.

#include <QByteArray>
#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace tavuro::testing {

class PrinterListener {
 public:
  enum class Behaviour { Printer, Silent, HangsUp };

  explicit PrinterListener(Behaviour behaviour = Behaviour::Printer);
  ~PrinterListener();
  PrinterListener(const PrinterListener&) = delete;
  PrinterListener& operator=(const PrinterListener&) = delete;

  quint16 port() const { return port_; }
  // The status byte answered: online, paper present.
  static constexpr char kStatus = 0x12;

  // The bytes of each connection the client has closed, in order.
  std::vector<QByteArray> jobs() const;
  // Waits (at most the tests' patience) until count connections have been closed by the
  // client; false when they were not.
  bool wait_for_jobs(size_t count) const;

 private:
  void run();
  void serve(int client);

  Behaviour behaviour_;
  int listener_ = -1;
  int stop_[2] = {-1, -1};  // a pipe: a byte in it ends the thread
  quint16 port_ = 0;
  std::vector<int> held_;   // connections a silent listener keeps open
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<QByteArray> jobs_;
  std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on: a connection to it is refused.
quint16 closed_port();

}  // namespace tavuro::testing
