#pragma once
// The child program of the reliability tests, started, left to work for a random moment
// and killed with SIGKILL.

#include "support/killed_child.h"

#include <QStringList>

#include <random>

namespace tavuro::reliability {

using testing::lines_after;

// How many times each crash test kills its child: TAVURO_CRASH_TRIALS, or 100 (fewer
// under the sanitizers, where every start of the child costs much more).
int crash_trials();

// Starts the child with args, waits for its first acknowledged change, lets it work for a
// random time of up to max_microseconds more and kills it. Returns the lines it printed;
// empty when it made no progress (a test failure has been recorded then).
QStringList run_and_kill(const QStringList& args, int max_microseconds, std::mt19937& random);

}  // namespace tavuro::reliability
