#include "support/killed_child.h"

#include <QTemporaryDir>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

QStringList shell(const QString& script) {
  std::mt19937 random(1);
  return run_and_kill(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, 1000, random);
}

TEST(KilledChild, IsKilledOnlyAfterItsFirstAcknowledgement) {
  // The child takes its time before the first change; it is not killed while starting.
  const QStringList lines = shell(QStringLiteral("sleep 0.3; echo started; echo ack 1; exec sleep 60"));
  EXPECT_EQ(lines, (QStringList{QStringLiteral("started"), QStringLiteral("ack 1")}));
  EXPECT_EQ(lines_after(lines, QStringLiteral("ack ")), QStringList{QStringLiteral("1")});
}

TEST(KilledChild, ALineCutOffByTheKillIsNoAcknowledgement) {
  EXPECT_EQ(shell(QStringLiteral("printf 'ack 1\\nack 2'; exec sleep 60")), QStringList{QStringLiteral("ack 1")});
}

TEST(KilledChild, AChildThatStopsWithoutProgressFailsTheTestAtOnce) {
  EXPECT_NONFATAL_FAILURE(shell(QStringLiteral("echo working; exit 0")), "acknowledged no change");
  std::mt19937 random(1);
  EXPECT_NONFATAL_FAILURE(run_and_kill(QStringLiteral("/nonexistent/child"), {}, 0, random), "did not start");
}

}  // namespace
}  // namespace tavuro::testing
