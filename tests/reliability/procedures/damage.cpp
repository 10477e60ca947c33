#include "damage.h"

#include "platform/text_file.h"
#include "store/data_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace tavuro::reliability {

const char* name_of(FileKind kind) {
  switch (kind) {
    case FileKind::Day:
      return "day file";
    case FileKind::Shop:
      return "shop.dat";
    case FileKind::Use:
      return "use.dat";
    case FileKind::KeFu:
      return "kefu.dat";
  }
  return "?";
}

const char* name_of(Damage damage) {
  switch (damage) {
    case Damage::GarbageHeader:
      return "garbage header";
    case Damage::Truncated:
      return "truncated";
    case Damage::Empty:
      return "0 bytes";
    case Damage::ByteFlips:
      return "byte flips";
    case Damage::OtherDataFile:
      return "another data file";
    case Damage::OtherEmptyFile:
      return "another empty data file";
    case Damage::TextFile:
      return "text file";
    case Damage::Directory:
      return "directory";
    case Damage::ReadOnly:
      return "read-only";
    case Damage::Unreadable:
      return "unreadable";
  }
  return "?";
}

const char* name_of(BackupState state) {
  switch (state) {
    case BackupState::Current:
      return "current backup";
    case BackupState::Older:
      return "older backup";
    case BackupState::Damaged:
      return "damaged backup";
    case BackupState::Missing:
      return "no backup";
  }
  return "?";
}

Target target_of(const startup::Paths& paths, FileKind kind) {
  switch (kind) {
    case FileKind::Day:
      return {paths.day_file, paths.day_backup, &store::day_schema()};
    case FileKind::Shop:
      return {paths.shop_file, paths.shop_backup, &store::shop_schema()};
    case FileKind::Use:
      return {paths.use_file, QString(), &store::name_list_schema()};
    case FileKind::KeFu:
      return {paths.kefu_file, QString(), &store::name_list_schema()};
  }
  return {};
}

std::unique_ptr<QTemporaryDir> memory_dir() {
  if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
    auto dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/tavuro-XXXXXX"));
    if (dir->isValid()) return dir;
  }
  return std::make_unique<QTemporaryDir>();
}

bool put_bytes(const QString& path, const QByteArray& bytes) {
  remove_any(path);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(bytes) == bytes.size();
}

QByteArray bytes_of(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void remove_any(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir() && !info.isSymLink()) {
    QDir(path).removeRecursively();
  } else if (info.exists()) {
    ::chmod(QFile::encodeName(path).constData(), 0644);
    QFile::remove(path);
  }
}

namespace {

// A data file of another kind, in the bytes it has on disk: with a few records, or
// without any (a new operator list, or a new day file under a catalogue's name).
QByteArray other_data_file(const Target& target, bool with_records) {
  const QString path = target.file + QStringLiteral(".other");
  remove_any(path);
  if (!with_records) {
    store::DataFile::create(
        path, target.schema == &store::name_list_schema() ? store::day_schema() : store::name_list_schema());
  } else if (target.schema == &store::day_schema()) {
    store::DataFile::create(path, store::shop_schema());
    store::DataFile::open(path).append(
        {{store::shop::kGoods, QStringLiteral("可乐")}, {store::shop::kPrice, QStringLiteral("2.50")}});
  } else {
    // A day file: under shop.dat it has the goods and price fields a catalogue has.
    store::DataFile::create(path, store::day_schema());
    store::DataFile::open(path).append({{store::day::kGoods, QStringLiteral("可乐")},
                                        {store::day::kPrice, QStringLiteral("2.50")},
                                        {store::day::kAmount, QStringLiteral("2.50")}});
  }
  const QByteArray bytes = bytes_of(path);
  remove_any(path);
  return bytes;
}

}  // namespace

void apply_damage(const Target& target, const QByteArray& healthy, Damage damage, std::mt19937& random) {
  const QByteArray path = QFile::encodeName(target.file);
  const auto below = [&random](qsizetype bound) {
    return static_cast<qsizetype>(std::uniform_int_distribution<qint64>(0, bound - 1)(random));
  };
  QByteArray bytes = healthy;
  switch (damage) {
    case Damage::GarbageHeader:
      for (int i = 0; i < 100 && i < bytes.size(); ++i) bytes[i] = static_cast<char>(below(256));
      break;
    case Damage::Truncated:
      bytes.truncate(1 + below(healthy.size() - 1));
      break;
    case Damage::Empty:
      bytes.clear();
      break;
    case Damage::ByteFlips:
      for (int flips = 1 + static_cast<int>(below(8)); flips > 0; --flips) {
        bytes[below(bytes.size())] ^= static_cast<char>(1 + below(255));
      }
      break;
    case Damage::OtherDataFile:
      bytes = other_data_file(target, true);
      break;
    case Damage::OtherEmptyFile:
      bytes = other_data_file(target, false);
      break;
    case Damage::TextFile:
      bytes = platform::to_local_code_page(QStringLiteral("商品,单价\r\n可乐,2.50\r\n茶,1.00\r\n"));
      break;
    case Damage::Directory:
      remove_any(target.file);
      QDir().mkpath(target.file + QStringLiteral("/inside"));
      return;
    case Damage::ReadOnly:
      ::chmod(path.constData(), 0444);
      return;
    case Damage::Unreadable:
      ::chmod(path.constData(), 0);
      return;
  }
  put_bytes(target.file, bytes);
}

bool readable(const QString& path, const store::Schema& schema) {
  try {
    const store::DataFile file = store::DataFile::open(path, schema);
    return file.record_count() == static_cast<int>(file.records().size());
  } catch (const store::StoreError&) {
    return false;
  }
}

bool intact(const QString& path, const store::Schema& schema) {
  try {
    return readable(path, schema) && store::DataFile::open(path, schema).is_intact();
  } catch (const store::StoreError&) {
    return false;
  }
}

std::optional<std::map<qint64, QStringList>> records_of(const QString& path, const store::Schema& schema) {
  if (!readable(path, schema)) return std::nullopt;
  std::map<qint64, QStringList> all;
  for (const store::Record& record : store::DataFile::open(path, schema).records()) all[record.id()] = record.values();
  return all;
}

bool kept_at_or_beside(const QString& path, const QByteArray& bytes) {
  if (QFileInfo(path).isFile() && bytes_of(path) == bytes) return true;
  const QFileInfo info(path);
  const QStringList copies =
      QDir(info.path()).entryList({info.fileName() + QStringLiteral("*.bad")}, QDir::Files | QDir::Hidden);
  for (const QString& copy : copies) {
    if (bytes_of(QDir(info.path()).filePath(copy)) == bytes) return true;
  }
  return false;
}

}  // namespace tavuro::reliability
