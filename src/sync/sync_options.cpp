#include "sync/sync_options.h"

#include <cstdio>

namespace tavuro::sync {

namespace {

const char* const kUsage =
    "用法: tavuro-sync [--once] [--batch 条数] [--poll 毫秒] 应用目录\n"
    "把该收银台目录下各月的修改记录和销售记录上传到 server.dat 所指的总店服务器。\n";

}  // namespace

std::optional<SyncOptions> parse_options(const QStringList& args) {
  SyncOptions options;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    bool ok = true;
    if (arg == QStringLiteral("--once")) {
      options.once = true;
    } else if (arg == QStringLiteral("--acks")) {
      options.acks = true;
    } else if (arg == QStringLiteral("--batch") && i + 1 < args.size()) {
      options.batch_entries = args[++i].toInt(&ok);
      ok = ok && options.batch_entries > 0;
    } else if (arg == QStringLiteral("--poll") && i + 1 < args.size()) {
      options.poll_milliseconds = args[++i].toInt(&ok);
      ok = ok && options.poll_milliseconds > 0;
    } else if (!arg.startsWith(QStringLiteral("--")) && options.app_dir.isEmpty()) {
      options.app_dir = arg;
    } else {
      ok = false;
    }
    if (!ok) {
      std::fputs(kUsage, stderr);
      return std::nullopt;
    }
  }
  if (options.app_dir.isEmpty()) {
    std::fputs(kUsage, stderr);
    return std::nullopt;
  }
  return options;
}

}  // namespace tavuro::sync
