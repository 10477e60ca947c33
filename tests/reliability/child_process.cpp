#include "child_process.h"

#include <gtest/gtest.h>
#include <QThread>

#include <csignal>

namespace tavuro::reliability {

int crash_trials() {
  bool ok = false;
  const int trials = qEnvironmentVariableIntValue("TAVURO_CRASH_TRIALS", &ok);
  if (ok && trials > 0) return trials;
#if defined(__SANITIZE_ADDRESS__)
  return 30;
#else
  return 100;
#endif
}

QStringList run_and_kill(const QStringList& args, int maxMicroseconds, std::mt19937& random) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QStringLiteral(RELIABILITY_CHILD), args);
  if (!child.waitForStarted()) {
    ADD_FAILURE() << "the child did not start";
    return {};
  }
  QByteArray output;
  while (!output.contains("ready\n")) {
    if (!child.waitForReadyRead(30000)) {
      ADD_FAILURE() << "the child never became ready: " << output.constData();
      child.kill();
      child.waitForFinished();
      return {};
    }
    output += child.readAllStandardOutput();
  }
  QThread::usleep(std::uniform_int_distribution<unsigned long>(0, static_cast<unsigned long>(maxMicroseconds))(random));
  ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
  child.waitForFinished();
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "the child ended before it was killed";
  output += child.readAllStandardOutput();
  return QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList lines_after(const QStringList& lines, const QString& prefix) {
  QStringList found;
  for (const QString& line : lines) {
    if (line.startsWith(prefix)) found << line.mid(prefix.size());
  }
  return found;
}

}  // namespace tavuro::reliability
