#pragma once
// A child process that repeats a change of a file in a loop and prints "ack ..." after
// each change has returned, killed with SIGKILL at a random moment of its work.

#include <QString>
#include <QStringList>

#include <random>

namespace tavuro::testing {

// Starts program with args and reads its output until its first "ack " line, so that
// the kill falls into the work however long the start took; then lets it work for a
// random time of up to max_microseconds more and kills it. Returns every line it printed.
// A child that acknowledges nothing within kPatience, or ends by itself, fails the test.
QStringList run_and_kill(const QString& program, const QStringList& args, int max_microseconds, std::mt19937& random);

// The lines that begin with prefix, without it.
QStringList lines_after(const QStringList& lines, const QString& prefix);

}  // namespace tavuro::testing
