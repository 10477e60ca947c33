#include "exports/export_window.h"

#include "platform/app_info.h"
#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>

namespace tavuro::exports {

namespace {

constexpr int kProgressDelayMs = 1000;
constexpr int kProgressSteps = 1000;

}  // namespace

QString export_done_message(const QString& path, const QString& summary) {
  return QStringLiteral("导出完成，") + summary + QStringLiteral("\n文件：") + path;
}

QString export_failed_message(const QString& path, const QString& reason) {
  return QStringLiteral("导出失败，文件没有写成。") + reason + QStringLiteral("\n[") + path + QLatin1Char(']');
}

QString export_cancelled_message() { return QStringLiteral("导出已取消，没有写文件。"); }

bool export_with_dialogs(QWidget* parent, const ExportRequest& request, const ExportWork& work) {
  const std::optional<QString> chosen = platform::dialogs().save_file(
      {QStringLiteral("导出"), request.start_folder, request.fileName, export_filter()});
  if (!chosen || chosen->isEmpty()) return false;
  const ExportTarget target = export_target(*chosen);

  QProgressDialog progress(QStringLiteral("正在导出，请稍候……"), QStringLiteral("取消"), 0, kProgressSteps, parent);
  progress.setObjectName(QStringLiteral("exportProgress"));
  progress.setWindowTitle(platform::app_title());
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(kProgressDelayMs);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setValue(0);
  const ExportProgress tell = [&progress](qint64 done, qint64 total) {
    const qint64 step = total > 0 ? done * kProgressSteps / total : 0;
    progress.setValue(static_cast<int>(std::clamp<qint64>(step, 0, kProgressSteps - 1)));
    // Until the progress dialog shows and holds the input, the windows take none.
    QCoreApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !progress.wasCanceled();
  };

  std::optional<QString> summary;
  try {
    summary = work(target, tell);
  } catch (const ExportCancelled&) {
    progress.close();
    platform::inform(export_cancelled_message());
    return false;
  } catch (const ExportError& error) {
    progress.close();
    platform::warn(export_failed_message(target.path, error.reason()));
    return false;
  }
  progress.close();
  if (!summary) return false;
  platform::inform(export_done_message(target.path, *summary));
  return true;
}

}  // namespace tavuro::exports
