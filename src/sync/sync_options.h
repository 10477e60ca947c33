#pragma once
// What tavuro-sync is told on its command line.

#include <QString>
#include <QStringList>
#include <optional>

namespace tavuro::sync {

struct SyncOptions {
  QString app_dir;
  bool once = false;     // ship what there is and end, instead of following the journals
  bool acks = false;     // print "ack <month> <number>" after each batch (for tests)
  int batch_entries = 0;  // 0: the default
  int poll_milliseconds = 100;
};

// nullopt (and the usage on stderr) for a command line that does not make sense.
std::optional<SyncOptions> parse_options(const QStringList& args);

}  // namespace tavuro::sync
