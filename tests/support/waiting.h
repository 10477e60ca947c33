#pragma once
// Waiting on a condition instead of for a time: the event loop runs until the condition
// holds, however slow the machine, and only a condition that never comes true costs the
// whole patience.

#include <chrono>
#include <functional>

namespace tavuro::testing {

// Long enough that only a hang reaches it, even under the sanitizers on a loaded machine.
inline constexpr std::chrono::milliseconds kPatience{60000};

// Runs the event loop until condition() holds; false when patience ran out first.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds patience = kPatience);

}  // namespace tavuro::testing

// GoogleTest expectations on a condition that becomes true once events have been handled.
// (The QTRY_ macros of QtTest report to QtTest's own log and cannot fail a GoogleTest test.)
#define EXPECT_EVENTUALLY_TRUE(condition)                                \
  do {                                                                   \
    ::tavuro::testing::wait_until([&]() -> bool { return (condition); }); \
    EXPECT_TRUE(condition);                                              \
  } while (false)

#define EXPECT_EVENTUALLY_EQ(actual, expected)                                       \
  do {                                                                               \
    ::tavuro::testing::wait_until([&]() -> bool { return (actual) == (expected); }); \
    EXPECT_EQ(actual, expected);                                                     \
  } while (false)
