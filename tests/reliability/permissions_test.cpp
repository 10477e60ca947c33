// A data file the program may not write or may not read at all. As root every file is
// readable and writable, so the readers and writers run in a child process that has
// given up root for the unprivileged user nobody (65534), over a shop that user owns.

#include "procedures/damage.h"
#include "procedures/damage_run.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavuro::reliability {
namespace {

constexpr uid_t kNobody = 65534;
constexpr int kCannotSwitchUser = 77;

void give_to_nobody(const QString& root) {
  ::chown(QFile::encodeName(root).constData(), kNobody, kNobody);
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) ::chown(QFile::encodeName(it.next()).constData(), kNobody, kNobody);
}

TEST(DamagedFilesAsUser, ReadOnlyAndUnreadableFilesEndWithTheirMessages) {
  QTemporaryDir dir;
  const QString app_dir = dir.filePath(QStringLiteral("shop"));
  ASSERT_TRUE(QDir().mkpath(app_dir));
  startup::AppState state;
  {
    RecordingDialogs quiet;
    platform::ScopedDialogs scope(quiet);
    fill_shop(state, app_dir);
  }
  if (::geteuid() != 0) {
    // Not root: the permissions bind this process already.
    const QStringList problems = run_permission_damage(app_dir);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    return;
  }
  // The child runs from a copy that the unprivileged user may execute, in a folder it owns.
  const QString program = dir.filePath(QStringLiteral("reliability_child"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(RELIABILITY_CHILD), program));
  ::chmod(QFile::encodeName(program).constData(), 0755);
  ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
  give_to_nobody(app_dir);

  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("HOME"), app_dir);
  environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.setChildProcessModifier([] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(kCannotSwitchUser);
  });
  child.start(program, {QStringLiteral("readers"), app_dir});
  ASSERT_TRUE(child.waitForStarted());
  ASSERT_TRUE(child.waitForFinished(180000)) << "the readers did not finish";
  if (child.exitCode() == kCannotSwitchUser) {
    GTEST_SKIP() << "cannot switch to the unprivileged user 65534 here; the permission cases did not run";
  }
  ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0);
  const QStringList output =
      QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_FALSE(output.isEmpty());
  EXPECT_EQ(output.last(), QStringLiteral("done"));
  QStringList problems;
  for (const QString& line : output) {
    if (line.startsWith(QStringLiteral("problem "))) problems << line.mid(8);
  }
  EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace tavuro::reliability
