#include "killed_child.h"

#include "waiting.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace tavuro::testing {
namespace {

// Every line up to the last newline: a line cut off by the kill is no acknowledgement.
QStringList whole_lines(const QByteArray& output) {
  return QString::fromUtf8(output.left(output.lastIndexOf('\n') + 1)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool has_acknowledged(const QByteArray& output) {
  return !lines_after(whole_lines(output), QStringLiteral("ack ")).isEmpty();
}

}  // namespace

QStringList run_and_kill(const QString& program, const QStringList& args, int max_microseconds, std::mt19937& random) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(program, args);
  if (!child.waitForStarted(static_cast<int>(kPatience.count()))) {
    ADD_FAILURE() << "the child " << program.toStdString() << " did not start: " << child.errorString().toStdString();
    return {};
  }
  QByteArray output;
  const QDeadlineTimer deadline(kPatience);
  while (!has_acknowledged(output)) {
    if (child.state() == QProcess::NotRunning || deadline.hasExpired()) {
      ADD_FAILURE() << "the child acknowledged no change within " << kPatience.count() / 1000
                    << " s; it printed: " << output.constData();
      child.kill();
      child.waitForFinished(static_cast<int>(kPatience.count()));
      return {};
    }
    child.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
    output += child.readAllStandardOutput();
  }
  QThread::usleep(std::uniform_int_distribution<unsigned long>(0, static_cast<unsigned long>(max_microseconds))(random));
  ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
  if (!child.waitForFinished(static_cast<int>(kPatience.count()))) ADD_FAILURE() << "the killed child did not end";
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "the child ended before it was killed";
  output += child.readAllStandardOutput();
  return whole_lines(output);
}

QStringList lines_after(const QStringList& lines, const QString& prefix) {
  QStringList found;
  for (const QString& line : lines) {
    if (line.startsWith(prefix)) found << line.mid(prefix.size());
  }
  return found;
}

}  // namespace tavuro::testing
