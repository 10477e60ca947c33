#pragma once
// Sending a day file to a removable disk. There is no drive A on Linux: the copy goes to
// the root of the first mounted, writable removable volume.

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace tavuro::cashier {

// A mounted volume as far as the choice of destination cares.
struct Volume {
  QString rootPath;
  bool ready = false;
  bool readOnly = true;
  bool writable = false;  // the root folder accepts new files
};

// The volumes mounted now, in mount order.
QList<Volume> mounted_volumes();

// The root of the first ready, writable volume mounted under /media or /run/media.
std::optional<QString> choose_removable_volume(const QList<Volume>& volumes);

// Where a sent file goes: the removable volume of the moment, unless replaced.
std::optional<QString> send_destination();

// Replaces the destination for its lifetime (nullopt: no disk present).
class ScopedSendDestination {
 public:
  explicit ScopedSendDestination(std::optional<QString> folder);
  ~ScopedSendDestination();
  ScopedSendDestination(const ScopedSendDestination&) = delete;
  ScopedSendDestination& operator=(const ScopedSendDestination&) = delete;

 private:
  std::function<std::optional<QString>()> previous_;
};

// Lets the user pick a day file, asks for the disk and copies the file into the root of
// the destination under its own name, replacing a file of that name. Every failure is
// "驱动器[A：]未准备好！，或软盘已经损坏。"; success is not announced. true when copied.
bool send_day_file(const QString& app_dir);

}  // namespace tavuro::cashier
