// A library preloaded into a child process (LD_PRELOAD) that records, in order, every
// operation that changes what a disk holds under one folder: files created, written,
// cut and flushed, names renamed, exchanged and removed, folders made and flushed. The
// calls go through unchanged; the record lets a test build every state a power failure
// may leave (fs_log.h reads it).
//
//   TAVURO_FSREC_ROOT  the folder watched (an absolute path without symbolic links)
//   TAVURO_FSREC_LOG   the file the record goes to
//
// tavuro_fsrec_mark(text) puts a mark into the record: the child says what it has done.

#include "fs_log_format.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdarg.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using tavuro::reliability::FsLogHeader;
using tavuro::reliability::FsOpKind;

namespace {

template <typename F>
F real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char*, int, ...);
using OpenatFn = int (*)(int, const char*, int, ...);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using PwriteFn = ssize_t (*)(int, const void*, size_t, off_t);
using WritevFn = ssize_t (*)(int, const struct iovec*, int);
using TruncFn = int (*)(int, off_t);
using PathTruncFn = int (*)(const char*, off_t);
using SyncFn = int (*)(int);
using RenameFn = int (*)(const char*, const char*);
using RenameatFn = int (*)(int, const char*, int, const char*);
using Renameat2Fn = int (*)(int, const char*, int, const char*, unsigned int);
using UnlinkFn = int (*)(const char*);
using UnlinkatFn = int (*)(int, const char*, int);
using MkdirFn = int (*)(const char*, mode_t);
using MkdiratFn = int (*)(int, const char*, mode_t);
using CloseFn = int (*)(int);

struct Tracked {
  bool tracked = false;
  bool directory = false;
  bool append = false;
  unsigned long long ino = 0;
  std::string path;  // relative to the root
};

struct Recorder {
  std::string root;
  int log = -1;
  pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
  std::vector<Tracked> fds = std::vector<Tracked>(65536);
  WriteFn write = real<WriteFn>("write");
  CloseFn close = real<CloseFn>("close");
};

Recorder* recorder() {
  static Recorder* instance = [] {
    auto* r = new Recorder;
    const char* root = std::getenv("TAVURO_FSREC_ROOT");
    const char* log = std::getenv("TAVURO_FSREC_LOG");
    if (root != nullptr && log != nullptr) {
      r->root = root;
      while (r->root.size() > 1 && r->root.back() == '/') r->root.pop_back();
      r->log = real<OpenFn>("open")(log, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    }
    return r;
  }();
  return instance;
}

bool active() {
  return recorder()->log >= 0;
}

// A path made absolute and plain (no ".", "..", or doubled slashes), without touching the
// disk: the names the program gives are what the record is about.
std::string plain(const std::string& path) {
  std::vector<std::string> parts;
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) return {};
    absolute = std::string(cwd) + "/" + absolute;
  }
  std::size_t at = 0;
  while (at < absolute.size()) {
    std::size_t next = absolute.find('/', at);
    if (next == std::string::npos) next = absolute.size();
    const std::string part = absolute.substr(at, next - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = next + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  return result.empty() ? "/" : result;
}

std::string path_at(int dirfd, const char* path) {
  if (path == nullptr) return {};
  if (path[0] == '/' || dirfd == AT_FDCWD) return plain(path);
  Recorder* r = recorder();
  if (dirfd >= 0 && dirfd < int(r->fds.size()) && r->fds[dirfd].tracked) {
    return plain(r->root + (r->fds[dirfd].path.empty() ? "" : "/" + r->fds[dirfd].path) + "/" + path);
  }
  char link[64];
  char target[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
  const ssize_t size = readlink(link, target, sizeof target - 1);
  if (size <= 0) return {};
  target[size] = '\0';
  return plain(std::string(target) + "/" + path);
}

// The path relative to the root; false when it lies outside.
bool under_root(const std::string& absolute, std::string* relative) {
  const std::string& root = recorder()->root;
  if (absolute == root) {
    relative->clear();
    return true;
  }
  if (absolute.size() > root.size() && absolute.compare(0, root.size(), root) == 0 && absolute[root.size()] == '/') {
    *relative = absolute.substr(root.size() + 1);
    return true;
  }
  return false;
}

void emit(FsOpKind kind, const std::string& path, const std::string& path2, unsigned long long ino,
          unsigned long long offset, unsigned long long size, const void* data) {
  Recorder* r = recorder();
  FsLogHeader header{};
  header.kind = static_cast<unsigned>(kind);
  header.path_size = static_cast<unsigned>(path.size());
  header.path2_size = static_cast<unsigned>(path2.size());
  header.ino = ino;
  header.offset = offset;
  header.size = size;
  std::string record(reinterpret_cast<const char*>(&header), sizeof header);
  record += path;
  record += path2;
  if (data != nullptr) record.append(static_cast<const char*>(data), size);
  pthread_mutex_lock(&r->lock);
  const char* p = record.data();
  std::size_t left = record.size();
  while (left > 0) {
    const ssize_t written = r->write(r->log, p, left);
    if (written <= 0) break;
    p += written;
    left -= std::size_t(written);
  }
  pthread_mutex_unlock(&r->lock);
}

Tracked* tracked(int fd) {
  if (!active() || fd < 0 || fd >= int(recorder()->fds.size())) return nullptr;
  Tracked* t = &recorder()->fds[fd];
  return t->tracked ? t : nullptr;
}

// Before an open: whether the name exists (an open that creates it is recorded so).
struct OpenIntent {
  bool watched = false;
  bool existed = false;
  std::string relative;
};

OpenIntent before_open(const std::string& absolute) {
  OpenIntent intent;
  if (!active() || !under_root(absolute, &intent.relative)) return intent;
  intent.watched = true;
  struct stat st {};
  intent.existed = lstat(absolute.c_str(), &st) == 0;
  return intent;
}

int after_open(int fd, int flags, const OpenIntent& intent) {
  if (fd < 0 || !intent.watched || fd >= int(recorder()->fds.size())) return fd;
  const int saved = errno;
  struct stat st {};
  fstat(fd, &st);
  Tracked& t = recorder()->fds[fd];
  t.tracked = true;
  t.directory = S_ISDIR(st.st_mode);
  t.append = (flags & O_APPEND) != 0;
  t.ino = st.st_ino;
  t.path = intent.relative;
  if ((flags & O_CREAT) != 0 && !intent.existed) emit(FsOpKind::Create, t.path, {}, t.ino, 0, 0, nullptr);
  if ((flags & O_TRUNC) != 0 && intent.existed && !t.directory) {
    emit(FsOpKind::Truncate, t.path, {}, t.ino, 0, 0, nullptr);
  }
  errno = saved;
  return fd;
}

void record_write(int fd, const void* data, ssize_t written, long long offset) {
  Tracked* t = tracked(fd);
  if (t == nullptr || written <= 0) return;
  emit(FsOpKind::Write, t->path, {}, t->ino, static_cast<unsigned long long>(offset),
       static_cast<unsigned long long>(written), data);
}

long long offset_of(int fd) {
  Tracked* t = tracked(fd);
  if (t == nullptr) return 0;
  if (t->append) {
    struct stat st {};
    fstat(fd, &st);
    return st.st_size;
  }
  return lseek(fd, 0, SEEK_CUR);
}

void record_rename(const std::string& from, const std::string& to, bool exchange) {
  std::string a;
  std::string b;
  if (!active() || !under_root(from, &a) || !under_root(to, &b)) return;
  emit(exchange ? FsOpKind::Exchange : FsOpKind::Rename, a, b, 0, 0, 0, nullptr);
}

void record_name(FsOpKind kind, const std::string& absolute) {
  std::string relative;
  if (!active() || !under_root(absolute, &relative)) return;
  unsigned long long ino = 0;
  if (kind == FsOpKind::Mkdir) {
    struct stat st {};
    if (lstat(absolute.c_str(), &st) == 0) ino = st.st_ino;
  }
  emit(kind, relative, {}, ino, 0, 0, nullptr);
}

mode_t mode_of(int flags, va_list args) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

int do_openat(const char* name, int dirfd, const char* path, int flags, mode_t mode) {
  const OpenIntent intent = before_open(path_at(dirfd, path));
  const int fd = real<OpenatFn>(name)(dirfd, path, flags, mode);
  return after_open(fd, flags, intent);
}

int do_open(const char* name, const char* path, int flags, mode_t mode) {
  const OpenIntent intent = before_open(path_at(AT_FDCWD, path));
  const int fd = real<OpenFn>(name)(path, flags, mode);
  return after_open(fd, flags, intent);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void tavuro_fsrec_mark(const char* text) {
  if (active()) emit(FsOpKind::Mark, text, {}, 0, 0, 0, nullptr);
}

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return do_open("open", path, flags, mode);
}
int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return do_open("open64", path, flags, mode);
}
int __open_2(const char* path, int flags) {
  return do_open("open", path, flags, 0);
}
int __open64_2(const char* path, int flags) {
  return do_open("open64", path, flags, 0);
}
int openat(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return do_openat("openat", dirfd, path, flags, mode);
}
int openat64(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = mode_of(flags, args);
  va_end(args);
  return do_openat("openat64", dirfd, path, flags, mode);
}
int __openat_2(int dirfd, const char* path, int flags) {
  return do_openat("openat", dirfd, path, flags, 0);
}
int __openat64_2(int dirfd, const char* path, int flags) {
  return do_openat("openat64", dirfd, path, flags, 0);
}
int creat(const char* path, mode_t mode) {
  return do_open("open", path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}
int creat64(const char* path, mode_t mode) {
  return do_open("open64", path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}

int close(int fd) {
  if (Tracked* t = tracked(fd)) *t = Tracked();
  return recorder()->close(fd);
}

ssize_t write(int fd, const void* data, size_t size) {
  const long long offset = offset_of(fd);
  const ssize_t written = recorder()->write(fd, data, size);
  record_write(fd, data, written, offset);
  return written;
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
  const ssize_t written = real<PwriteFn>("pwrite")(fd, data, size, offset);
  record_write(fd, data, written, offset);
  return written;
}

ssize_t pwrite64(int fd, const void* data, size_t size, off_t offset) {
  const ssize_t written = real<PwriteFn>("pwrite64")(fd, data, size, offset);
  record_write(fd, data, written, offset);
  return written;
}

ssize_t writev(int fd, const struct iovec* parts, int count) {
  long long offset = offset_of(fd);
  const ssize_t written = real<WritevFn>("writev")(fd, parts, count);
  ssize_t left = written;
  for (int i = 0; i < count && left > 0; ++i) {
    const ssize_t piece = std::min<ssize_t>(left, ssize_t(parts[i].iov_len));
    record_write(fd, parts[i].iov_base, piece, offset);
    offset += piece;
    left -= piece;
  }
  return written;
}

int ftruncate(int fd, off_t size) {
  const int result = real<TruncFn>("ftruncate")(fd, size);
  if (Tracked* t = tracked(fd); t != nullptr && result == 0) {
    emit(FsOpKind::Truncate, t->path, {}, t->ino, 0, static_cast<unsigned long long>(size), nullptr);
  }
  return result;
}

int ftruncate64(int fd, off_t size) {
  const int result = real<TruncFn>("ftruncate64")(fd, size);
  if (Tracked* t = tracked(fd); t != nullptr && result == 0) {
    emit(FsOpKind::Truncate, t->path, {}, t->ino, 0, static_cast<unsigned long long>(size), nullptr);
  }
  return result;
}

int truncate(const char* path, off_t size) {
  const int fd = open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  const int result = ftruncate(fd, size);
  close(fd);
  return result;
}

static int record_sync(int fd, int result) {
  if (Tracked* t = tracked(fd); t != nullptr && result == 0) {
    if (t->directory) {
      emit(FsOpKind::SyncDir, t->path, {}, t->ino, 0, 0, nullptr);
    } else {
      emit(FsOpKind::Sync, t->path, {}, t->ino, 0, 0, nullptr);
    }
  }
  return result;
}

int fsync(int fd) {
  return record_sync(fd, real<SyncFn>("fsync")(fd));
}
int fdatasync(int fd) {
  return record_sync(fd, real<SyncFn>("fdatasync")(fd));
}

int rename(const char* from, const char* to) {
  const std::string a = path_at(AT_FDCWD, from);
  const std::string b = path_at(AT_FDCWD, to);
  const int result = real<RenameFn>("rename")(from, to);
  if (result == 0) record_rename(a, b, false);
  return result;
}

int renameat(int from_dir, const char* from, int to_dir, const char* to) {
  const std::string a = path_at(from_dir, from);
  const std::string b = path_at(to_dir, to);
  const int result = real<RenameatFn>("renameat")(from_dir, from, to_dir, to);
  if (result == 0) record_rename(a, b, false);
  return result;
}

int renameat2(int from_dir, const char* from, int to_dir, const char* to, unsigned int flags) {
  const std::string a = path_at(from_dir, from);
  const std::string b = path_at(to_dir, to);
  const int result = real<Renameat2Fn>("renameat2")(from_dir, from, to_dir, to, flags);
  if (result == 0) record_rename(a, b, (flags & 2u) != 0);  // RENAME_EXCHANGE
  return result;
}

// A rename made through syscall() directly (glibc before 2.28 had no renameat2()).
long syscall(long number, ...) {
  va_list args;
  va_start(args, number);
  long a[6];
  for (long& arg : a) arg = va_arg(args, long);
  va_end(args);
  if (number == SYS_renameat2) {
    return renameat2(int(a[0]), reinterpret_cast<const char*>(a[1]), int(a[2]), reinterpret_cast<const char*>(a[3]),
                     static_cast<unsigned>(a[4]));
  }
  using SyscallFn = long (*)(long, ...);
  return real<SyscallFn>("syscall")(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}

int unlink(const char* path) {
  const std::string absolute = path_at(AT_FDCWD, path);
  const int result = real<UnlinkFn>("unlink")(path);
  if (result == 0) record_name(FsOpKind::Unlink, absolute);
  return result;
}

int unlinkat(int dirfd, const char* path, int flags) {
  const std::string absolute = path_at(dirfd, path);
  const int result = real<UnlinkatFn>("unlinkat")(dirfd, path, flags);
  if (result == 0) record_name((flags & AT_REMOVEDIR) != 0 ? FsOpKind::Rmdir : FsOpKind::Unlink, absolute);
  return result;
}

int remove(const char* path) {
  struct stat st {};
  if (lstat(path, &st) == 0 && S_ISDIR(st.st_mode)) return rmdir(path);
  return unlink(path);
}

int rmdir(const char* path) {
  const std::string absolute = path_at(AT_FDCWD, path);
  const int result = real<UnlinkFn>("rmdir")(path);
  if (result == 0) record_name(FsOpKind::Rmdir, absolute);
  return result;
}

int mkdir(const char* path, mode_t mode) {
  const std::string absolute = path_at(AT_FDCWD, path);
  const int result = real<MkdirFn>("mkdir")(path, mode);
  if (result == 0) record_name(FsOpKind::Mkdir, absolute);
  return result;
}

int mkdirat(int dirfd, const char* path, mode_t mode) {
  const std::string absolute = path_at(dirfd, path);
  const int result = real<MkdiratFn>("mkdirat")(dirfd, path, mode);
  if (result == 0) record_name(FsOpKind::Mkdir, absolute);
  return result;
}

}  // extern "C"
