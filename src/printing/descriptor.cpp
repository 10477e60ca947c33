#include "printing/descriptor.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>

#include <poll.h>
#include <sys/socket.h>

namespace tavuro::printing {

Wait wait_for(int fd, short events, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    // Rounded up: a printer is given its whole time, never a millisecond less.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(std::max<qint64>(left.count(), 0)));
    if (ready > 0) return (entry.revents & POLLNVAL) != 0 ? Wait::Failed : Wait::Ready;
    if (ready == 0 && std::chrono::steady_clock::now() >= deadline) return Wait::TimedOut;
    if (ready < 0 && errno != EINTR) return Wait::Failed;
  }
}

WriteOutcome write_all(int fd, const char* data, qsizetype size, std::chrono::milliseconds patience, bool socket) {
  qsizetype done = 0;
  while (done < size) {
    const auto count = static_cast<size_t>(size - done);
    const ssize_t written = socket ? ::send(fd, data + done, count, MSG_NOSIGNAL) : ::write(fd, data + done, count);
    if (written > 0) {
      done += written;
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return {Wait::Failed, errno};
    const Wait waited = wait_for(fd, POLLOUT, patience);
    if (waited != Wait::Ready) return {waited, waited == Wait::Failed ? errno : 0};
  }
  return {};
}

}  // namespace tavuro::printing
