#include "platform/file_ops.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tavuro::platform {

namespace {

bool write_all(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool sync_directory(const QByteArray& dir) {
  const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return (::close(fd) == 0) && ok;
}

}  // namespace

// After a rename the directory entry itself must reach the disk too.
bool sync_directory_of(const QString& path) {
  return sync_directory(QFile::encodeName(QFileInfo(path).absolutePath()));
}

bool make_folder(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  if (::mkdir(name.constData(), 0755) != 0) return errno == EEXIST && QFileInfo(path).isDir();
  sync_directory_of(path);
  return true;
}

QString temporary_sibling(const QString& target) { return target + QStringLiteral(".tmp~"); }

bool write_file_atomic(const QString& path, const QByteArray& bytes, bool sync_directory) {
  const QByteArray target = QFile::encodeName(path);
  const QByteArray temp = QFile::encodeName(temporary_sibling(path));
  const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = write_all(fd, bytes.constData(), bytes.size());
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.constData(), target.constData()) == 0;
  if (!ok) {
    ::unlink(temp.constData());
    return false;
  }
  if (sync_directory) sync_directory_of(path);
  return true;
}

QByteArray read_whole_file(const QString& path, bool* ok) {
  *ok = false;
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = file.readAll();
  *ok = file.error() == QFileDevice::NoError;
  return bytes;
}

bool same_content(const QString& a, const QString& b) {
  QFile first(a);
  QFile second(b);
  if (!QFileInfo(a).isFile() || !QFileInfo(b).isFile() || !first.open(QIODevice::ReadOnly) ||
      !second.open(QIODevice::ReadOnly) || first.size() != second.size()) {
    return false;
  }
  if (first.size() == 0) return true;
  // Compared in place, without copying either file into memory.
  const uchar* map_a = first.map(0, first.size());
  const uchar* map_b = second.map(0, second.size());
  if (map_a == nullptr || map_b == nullptr) return false;
  return std::memcmp(map_a, map_b, static_cast<size_t>(first.size())) == 0;
}

bool copy_file_atomic(const QString& source, const QString& target) {
  bool ok = false;
  const QByteArray bytes = read_whole_file(source, &ok);
  if (!ok) return false;
  return write_file_atomic(target, bytes);
}

QString kept_copy_of(const QString& target) {
  const QFileInfo info(target);
  return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".old");
}

bool refresh_copy(const QString& source, const QString& target) {
  bool ok = false;
  const QByteArray bytes = read_whole_file(source, &ok);
  if (!ok) return false;
  // The new copy is written over the copy before the last, kept beside the target, and
  // the two names are then exchanged in one step: the target is whole at every moment,
  // and rewriting a file in place costs the disk less than making a new one each time.
  const QByteArray kept = QFile::encodeName(kept_copy_of(target));
  const QByteArray name = QFile::encodeName(target);
  const int fd = ::open(kept.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return write_file_atomic(target, bytes);
  ok = ::pwrite(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0) == bytes.size();
  ok = ok && ::ftruncate(fd, bytes.size()) == 0;
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) return false;
  // No target yet, or a file system that cannot exchange names: a plain rename. Either
  // way the new name reaches the disk before the copy counts as made.
  if (::renameat2(AT_FDCWD, kept.constData(), AT_FDCWD, name.constData(), RENAME_EXCHANGE) != 0 &&
      ::rename(kept.constData(), name.constData()) != 0) {
    return false;
  }
  return sync_directory_of(target);
}

}  // namespace tavuro::platform
