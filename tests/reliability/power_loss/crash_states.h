#pragma once
// Every state a disk may be left in when the power fails during a recorded run (the record
// of fs_recorder). A disk keeps an operation for certain only once a flush covers it: a
// write, length change or creation of a file's bytes once the file is flushed (fsync,
// fdatasync), a creation, rename, exchange or removal of a name once its folder is
// flushed. Of the operations issued before the power failed and not yet covered, any may
// have reached the disk and any not, in any combination: a state holds what the folder held
// before the run, with every covered operation applied and a chosen part of the others, in
// the order they were issued.

#include "fs_log_format.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace tavuro::reliability {

struct FsOp {
  FsOpKind kind;
  QString path;
  QString path2;
  quint64 ino = 0;
  quint64 offset = 0;
  quint64 size = 0;
  QByteArray data;
};

// The files and folders under a folder: paths relative to it.
struct FsTree {
  QMap<QString, QByteArray> files;
  QSet<QString> folders;
  QMap<QString, quint64> inodes;  // of each file and folder, as the recorder names them
  bool operator==(const FsTree& other) const { return files == other.files && folders == other.folders; }
};

FsTree read_tree(const QString& root);
// Writes tree into root, which must be empty.
bool write_tree(const FsTree& tree, const QString& root);

// The operations of a record; ok is false when the record is cut short.
std::vector<FsOp> read_fs_log(const QString& path, bool* ok);

struct CrashState {
  FsTree disk;
  QStringList marks;  // the child's marks made before the power failed
  int issued = 0;     // operations issued before the power failed
};

// How many of the combinations of the operations not covered are built at each moment:
// all of them up to all_up_to such operations; beyond that the ones that matter most (none,
// all, each one alone, all but each one, the first n in order as a disk that writes in
// order leaves them) and random_subsets chosen at random.
struct CrashLimits {
  int all_up_to = 10;
  int random_subsets = 64;
  unsigned seed = 1;
};

struct CrashFigures {
  int operations = 0;
  int moments = 0;      // the moments the power may fail: before each operation and after the last
  long long built = 0;  // states built
  int distinct = 0;     // states told apart, each checked once
  int most_uncovered = 0;
};

class CrashStates {
 public:
  // before: the folder before the run; ops: its record. Fills problems with what in the
  // record cannot be followed (a write to a file the record never named). With sector_size,
  // each write is taken as the sectors it covers, each of which may reach the disk or
  // not (a disk writes sectors, not whole calls); without, each write reaches it whole.
  CrashStates(FsTree before, std::vector<FsOp> ops, int sector_size = 0);

  const QStringList& problems() const { return problems_; }
  // Every operation on the disk: what the folder must hold when the run has ended.
  FsTree complete() const;
  // Calls visit once for each distinct state.
  CrashFigures for_each(const CrashLimits& limits, const std::function<void(const CrashState&)>& visit) const;

 private:
  struct Step {
    FsOpKind kind;
    QString path;
    QString path2;
    int node = -1;
    quint64 offset = 0;
    quint64 size = 0;
    QByteArray data;
    int covered_by = 0;  // the index of the first flush that covers it; past the end when none
  };
  bool changes_disk(const Step& step) const;
  CrashState build(int issued, const std::vector<int>& chosen) const;

  FsTree before_;
  std::vector<QByteArray> initial_;  // node → the bytes of the file before the run
  QMap<QString, int> initial_nodes_;  // path → node before the run
  std::vector<Step> steps_;
  QStringList problems_;
};

}  // namespace tavuro::reliability
