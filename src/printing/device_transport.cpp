// The device file of a printer on USB (/dev/usb/lp0) or the parallel port (/dev/lp0).

#include "printing/descriptor.h"
#include "printing/transport.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>

namespace tavuro::printing {

namespace {

QString open_failure(const QString& path, int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return QStringLiteral("找不到打印设备 %1（打印机没有接上或没有开机？）").arg(path);
    case EACCES:
    case EPERM: return QStringLiteral("没有使用打印设备 %1 的权限（用户须在 lp 组中）").arg(path);
    case EBUSY: return QStringLiteral("打印设备 %1 正忙（别的程序正在用它）").arg(path);
    case EISDIR: return QStringLiteral("%1 是文件夹，不是打印设备").arg(path);
    default: return QStringLiteral("打不开打印设备 %1：%2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
  }
}

}  // namespace

std::optional<QString> send_to_device(const QString& path, const QByteArray& bytes) {
  // Not created when missing; appended to, so that a plain file collects every job.
  Descriptor device(::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!device) return open_failure(path, errno);
  if (::flock(device.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return open_failure(path, EBUSY);
  const WriteOutcome outcome = write_all(device.get(), bytes.constData(), bytes.size(), kAnswerTime, false);
  switch (outcome.wait) {
    case Wait::Ready: break;
    case Wait::TimedOut:
      return QStringLiteral("打印设备 %1 在 %2 秒内没有应答（打印机脱机或缺纸？）")
          .arg(path)
          .arg(kAnswerTime.count() / 1000);
    case Wait::Failed:
      return QStringLiteral("写打印设备 %1 时出错：%2").arg(path, QString::fromLocal8Bit(std::strerror(outcome.error)));
  }
  // A device may report a failed transfer only when it is closed.
  if (::close(device.release()) != 0 && errno == EIO) {
    return QStringLiteral("写打印设备 %1 时出错：%2").arg(path, QString::fromLocal8Bit(std::strerror(EIO)));
  }
  return std::nullopt;
}

}  // namespace tavuro::printing
