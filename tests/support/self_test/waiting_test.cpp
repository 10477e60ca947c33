#include "support/waiting.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

using namespace std::chrono_literals;

TEST(Waiting, RunsTheEventLoopUntilTheConditionHolds) {
  int fired = 0;
  QTimer::singleShot(0, [&fired] { ++fired; });
  QTimer::singleShot(30, [&fired] { ++fired; });
  EXPECT_EQ(fired, 0);
  EXPECT_TRUE(wait_until([&fired] { return fired == 2; }));
  fired = 0;
  QTimer::singleShot(0, [&fired] { fired = 7; });
  EXPECT_EVENTUALLY_EQ(fired, 7);
  EXPECT_EVENTUALLY_TRUE(fired > 0);
}

TEST(Waiting, AConditionThatNeverHoldsEndsWhenPatienceRunsOut) {
  EXPECT_FALSE(wait_until([] { return false; }, 20ms));
}

}  // namespace
}  // namespace tavuro::testing
