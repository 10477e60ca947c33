// tavuro-sync: follows the journals of one till's application directory and ships every
// entry the head-office server does not hold yet. It only reads the till's files. A lost
// network is waited for with a growing pause; a journal the server refuses stops the
// program with the reason (exit status 3, which the service does not restart).

#include "headoffice/server_schema.h"
#include "headoffice/shipper.h"
#include "headoffice/till_files.h"
#include "store/store_error.h"
#include "sync/sync_options.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

using namespace tavuro;

constexpr int kRefusedStatus = 3;
constexpr std::chrono::milliseconds kFirstPause{250};
constexpr std::chrono::milliseconds kLongestPause{30000};

void log(const QString& text) {
  std::fputs((QStringLiteral("tavuro-sync: ") + text + QLatin1Char('\n')).toUtf8().constData(), stderr);
  std::fflush(stderr);
}

int run(const sync::SyncOptions& options) {
  const std::optional<QString> settings = headoffice::server_settings(options.app_dir);
  if (!settings) {
    log(QStringLiteral("%1 中没有 server.dat，这台收银机不向总店上传。").arg(options.app_dir));
    return 2;
  }
  const QString till = headoffice::till_name(options.app_dir);
  const int batch = options.batch_entries > 0 ? options.batch_entries : headoffice::kDefaultBatchEntries;
  std::optional<headoffice::PgConnection> server;
  std::unique_ptr<headoffice::Shipper> shipper;
  std::chrono::milliseconds pause = kFirstPause;
  QStringList told;  // months without a journal, said once
  const auto acknowledge = [&](const QString& month, qint64 number) {
    if (!options.acks) return;
    std::printf("ack %s %lld\n", month.toUtf8().constData(), static_cast<long long>(number));
    std::fflush(stdout);
  };
  for (;;) {
    bool failed = false;
    try {
      if (!server) {
        server = headoffice::PgConnection::open(*settings);
        headoffice::ensure_schema(*server);
        shipper = std::make_unique<headoffice::Shipper>(*server, till, batch);
        log(QStringLiteral("已连接总店服务器，收银台“%1”。").arg(till));
      }
      shipper->ship_all(options.app_dir, acknowledge);
      for (const QString& month : shipper->months_without_journal()) {
        if (told.contains(month)) continue;
        told << month;
        log(QStringLiteral("%1 没有修改记录（journal.db），它的销售记录不上传。").arg(month));
      }
      pause = kFirstPause;
      if (options.once) return 0;
    } catch (const headoffice::ServerError& error) {
      if (error.kind() == headoffice::ServerError::Kind::Refused) {
        log(error.detail());
        return kRefusedStatus;
      }
      log(QStringLiteral("总店服务器出错，稍后重试：") + error.detail());
      shipper.reset();
      server.reset();
      failed = true;
    } catch (const store::StoreError& error) {
      // The till holds its journal for the moment, or it is being mended: read it later.
      log(QStringLiteral("暂时读不了修改记录，稍后重试：") + error.path() + QStringLiteral("：") + error.detail());
      failed = true;
    }
    if (failed) {
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, kLongestPause);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(options.poll_milliseconds));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  const std::optional<sync::SyncOptions> options = sync::parse_options(args);
  if (!options) return 64;
  return run(*options);
}
