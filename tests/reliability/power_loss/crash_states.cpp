#include "crash_states.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <random>
#include <set>

namespace tavuro::reliability {

namespace {

QString parent_of(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : path.left(slash);
}

quint64 inode_of(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

bool is_metadata(FsOpKind kind) {
  return kind == FsOpKind::Create || kind == FsOpKind::Rename || kind == FsOpKind::Exchange ||
         kind == FsOpKind::Unlink || kind == FsOpKind::Mkdir || kind == FsOpKind::Rmdir;
}

QByteArray key_of(const CrashState& state) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(QByteArray::number(state.marks.size()));
  for (auto it = state.disk.files.cbegin(); it != state.disk.files.cend(); ++it) {
    hash.addData(it.key().toUtf8());
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(QCryptographicHash::hash(it.value(), QCryptographicHash::Sha1));
  }
  QStringList folders(state.disk.folders.cbegin(), state.disk.folders.cend());
  folders.sort();
  for (const QString& folder : folders) hash.addData((QStringLiteral("/") + folder).toUtf8());
  return hash.result();
}

}  // namespace

FsTree read_tree(const QString& root) {
  FsTree tree;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  const QDir base(root);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString relative = base.relativeFilePath(path);
    const QFileInfo info(path);
    tree.inodes[relative] = inode_of(path);
    if (info.isDir() && !info.isSymLink()) {
      tree.folders.insert(relative);
    } else {
      QFile file(path);
      tree.files[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
  }
  return tree;
}

bool write_tree(const FsTree& tree, const QString& root) {
  QStringList folders(tree.folders.cbegin(), tree.folders.cend());
  std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) { return a.size() < b.size(); });
  const QDir base(root);
  for (const QString& folder : folders) {
    if (!base.mkpath(folder)) return false;
  }
  for (auto it = tree.files.cbegin(); it != tree.files.cend(); ++it) {
    // A file whose folder is gone from the disk is gone too; the state never holds one.
    QFile file(base.filePath(it.key()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(it.value()) != it.value().size()) {
      return false;
    }
  }
  return true;
}

std::vector<FsOp> read_fs_log(const QString& path, bool* ok) {
  *ok = false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  std::vector<FsOp> ops;
  qsizetype at = 0;
  while (at < bytes.size()) {
    FsLogHeader header{};
    if (bytes.size() - at < qsizetype(sizeof header)) return ops;
    std::memcpy(&header, bytes.constData() + at, sizeof header);
    at += sizeof header;
    const qsizetype dataSize = header.kind == unsigned(FsOpKind::Write) ? qsizetype(header.size) : 0;
    if (bytes.size() - at < qsizetype(header.path_size) + header.path2_size + dataSize) return ops;
    FsOp op{static_cast<FsOpKind>(header.kind),
            QString::fromUtf8(bytes.constData() + at, header.path_size),
            QString::fromUtf8(bytes.constData() + at + header.path_size, header.path2_size),
            header.ino,
            header.offset,
            header.size,
            bytes.mid(at + header.path_size + header.path2_size, dataSize)};
    at += qsizetype(header.path_size) + header.path2_size + dataSize;
    ops.push_back(std::move(op));
  }
  *ok = true;
  return ops;
}

CrashStates::CrashStates(FsTree before, std::vector<FsOp> ops, int sector_size) : before_(std::move(before)) {
  QMap<quint64, int> node_of_inode;
  for (auto it = before_.files.cbegin(); it != before_.files.cend(); ++it) {
    const int node = static_cast<int>(initial_.size());
    initial_.push_back(it.value());
    initial_nodes_[it.key()] = node;
    node_of_inode[before_.inodes.value(it.key())] = node;
  }
  int next_node = static_cast<int>(initial_.size());
  for (FsOp& op : ops) {
    Step step{op.kind, op.path, op.path2, -1, op.offset, op.size, std::move(op.data)};
    switch (op.kind) {
      case FsOpKind::Create:
        step.node = next_node++;
        node_of_inode[op.ino] = step.node;
        break;
      case FsOpKind::Write:
      case FsOpKind::Truncate:
      case FsOpKind::Sync:
        if (!node_of_inode.contains(op.ino)) {
          problems_ << QStringLiteral("the record changes a file it never named: %1").arg(op.path);
          continue;
        }
        step.node = node_of_inode.value(op.ino);
        break;
      default:
        break;
    }
    if (step.kind != FsOpKind::Write || sector_size <= 0) {
      steps_.push_back(std::move(step));
      continue;
    }
    // One step per sector the write touches.
    for (quint64 at = 0; at < quint64(step.data.size());) {
      const quint64 offset = step.offset + at;
      const quint64 piece =
          std::min<quint64>(quint64(sector_size) - offset % quint64(sector_size), quint64(step.data.size()) - at);
      Step part = step;
      part.offset = offset;
      part.data = step.data.mid(qsizetype(at), qsizetype(piece));
      steps_.push_back(std::move(part));
      at += piece;
    }
  }
  const int count = static_cast<int>(steps_.size());
  for (int i = 0; i < count; ++i) {
    Step& step = steps_[i];
    step.covered_by = count;
    if (step.kind == FsOpKind::Write || step.kind == FsOpKind::Truncate) {
      for (int j = i + 1; j < count; ++j) {
        if (steps_[j].kind == FsOpKind::Sync && steps_[j].node == step.node) {
          step.covered_by = j;
          break;
        }
      }
    } else if (is_metadata(step.kind)) {
      // A rename between two folders is on the disk once both are flushed.
      QStringList folders{parent_of(step.path)};
      if (!step.path2.isEmpty()) folders << parent_of(step.path2);
      int covered = 0;
      for (const QString& folder : folders) {
        int first = count;
        for (int j = i + 1; j < count; ++j) {
          if (steps_[j].kind == FsOpKind::SyncDir && steps_[j].path == folder) {
            first = j;
            break;
          }
        }
        covered = std::max(covered, first);
      }
      step.covered_by = covered;
    }
  }
}

bool CrashStates::changes_disk(const Step& step) const {
  return step.kind == FsOpKind::Write || step.kind == FsOpKind::Truncate || is_metadata(step.kind);
}

CrashState CrashStates::build(int issued, const std::vector<int>& chosen) const {
  std::vector<QByteArray> contents = initial_;
  QMap<QString, int> names = initial_nodes_;
  QSet<QString> folders = before_.folders;
  CrashState state;
  state.issued = issued;
  std::size_t next = 0;
  for (int i = 0; i < issued; ++i) {
    const Step& step = steps_[i];
    if (step.kind == FsOpKind::Mark) state.marks << step.path;
    const bool is_chosen = next < chosen.size() && chosen[next] == i;
    if (is_chosen) ++next;
    if (!changes_disk(step) || (step.covered_by >= issued && !is_chosen)) continue;
    if (step.node >= int(contents.size())) contents.resize(step.node + 1);
    switch (step.kind) {
      case FsOpKind::Create:
        names[step.path] = step.node;
        break;
      case FsOpKind::Write: {
        QByteArray& bytes = contents[step.node];
        const qsizetype end = qsizetype(step.offset) + step.data.size();
        if (bytes.size() < end) bytes.resize(end, '\0');
        bytes.replace(qsizetype(step.offset), step.data.size(), step.data);
        break;
      }
      case FsOpKind::Truncate:
        contents[step.node].resize(qsizetype(step.size), '\0');
        break;
      case FsOpKind::Rename:
        if (names.contains(step.path)) {
          names[step.path2] = names.take(step.path);
        } else if (folders.contains(step.path)) {
          folders.remove(step.path);
          folders.insert(step.path2);
        }
        break;
      case FsOpKind::Exchange:
        if (names.contains(step.path) && names.contains(step.path2)) {
          std::swap(names[step.path], names[step.path2]);
        }
        break;
      case FsOpKind::Unlink:
        names.remove(step.path);
        break;
      case FsOpKind::Mkdir:
        folders.insert(step.path);
        break;
      case FsOpKind::Rmdir:
        folders.remove(step.path);
        break;
      default:
        break;
    }
  }
  for (auto it = names.cbegin(); it != names.cend(); ++it) {
    // A name in a folder that is not on the disk is not on the disk either.
    const QString folder = parent_of(it.key());
    if (folder.isEmpty() || folders.contains(folder)) state.disk.files[it.key()] = contents[it.value()];
  }
  state.disk.folders = folders;
  return state;
}

FsTree CrashStates::complete() const {
  std::vector<int> all;
  for (int i = 0; i < int(steps_.size()); ++i) {
    if (changes_disk(steps_[i])) all.push_back(i);
  }
  return build(static_cast<int>(steps_.size()), all).disk;
}

CrashFigures CrashStates::for_each(const CrashLimits& limits,
                                  const std::function<void(const CrashState&)>& visit) const {
  CrashFigures figures;
  figures.operations = static_cast<int>(steps_.size());
  std::set<QByteArray> seen;
  const auto consider = [&](int issued, const std::vector<int>& chosen) {
    ++figures.built;
    const CrashState state = build(issued, chosen);
    if (!seen.insert(key_of(state)).second) return;
    ++figures.distinct;
    visit(state);
  };
  for (int issued = 0; issued <= figures.operations; ++issued) {
    ++figures.moments;
    std::vector<int> open;  // issued, not covered yet
    for (int i = 0; i < issued; ++i) {
      if (changes_disk(steps_[i]) && steps_[i].covered_by >= issued) open.push_back(i);
    }
    const int count = static_cast<int>(open.size());
    figures.most_uncovered = std::max(figures.most_uncovered, count);
    const auto pick = [&](const std::vector<char>& mask) {
      std::vector<int> chosen;
      for (int i = 0; i < count; ++i) {
        if (mask[i] != 0) chosen.push_back(open[i]);
      }
      consider(issued, chosen);
    };
    if (count <= limits.all_up_to) {
      for (quint64 bits = 0; bits < (quint64(1) << count); ++bits) {
        std::vector<char> mask(count);
        for (int i = 0; i < count; ++i) mask[i] = static_cast<char>((bits >> i) & 1u);
        pick(mask);
      }
      continue;
    }
    pick(std::vector<char>(count, 0));
    pick(std::vector<char>(count, 1));
    for (int i = 0; i < count; ++i) {
      std::vector<char> one(count, 0);
      one[i] = 1;
      pick(one);
      std::vector<char> all_but(count, 1);
      all_but[i] = 0;
      pick(all_but);
      std::vector<char> in_order(count, 0);
      std::fill(in_order.begin(), in_order.begin() + i, 1);
      pick(in_order);
    }
    std::mt19937 random(limits.seed * 7919u + unsigned(issued));
    for (int n = 0; n < limits.random_subsets; ++n) {
      std::vector<char> mask(count);
      for (char& bit : mask) bit = static_cast<char>(random() & 1u);
      pick(mask);
    }
  }
  return figures;
}

}  // namespace tavuro::reliability
