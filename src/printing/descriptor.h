#pragma once
// A POSIX file descriptor owned by one object, and waiting on one with a time limit.

#include <QtGlobal>

#include <chrono>
#include <utility>

#include <unistd.h>

namespace tavuro::printing {

class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Gives up ownership: the caller closes it.
  int release() { return std::exchange(fd_, -1); }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

enum class Wait { Ready, TimedOut, Failed };

// Waits until the descriptor is ready for events (POLLIN, POLLOUT), for at most patience.
Wait wait_for(int fd, short events, std::chrono::milliseconds patience);

struct WriteOutcome {
  Wait wait = Wait::Ready;  // Ready: every byte was taken
  int error = 0;            // errno when Failed
};

// Writes every byte to a non-blocking descriptor; each time it is full it may take
// patience to take more. Sockets are written without SIGPIPE.
WriteOutcome write_all(int fd, const char* data, qsizetype size, std::chrono::milliseconds patience, bool socket);

}  // namespace tavuro::printing
