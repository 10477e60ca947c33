// A till at work for the head-office tests: records sale lines in its application
// directory at a brisk pace, correcting and deleting some, and prints "ack <n>" after
// each change, until the stop file appears.

#include "till_folder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <cstdio>
#include <random>
#include <vector>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 4) {
    std::fputs("usage: till_child APPDIR STOPFILE SEED\n", stderr);
    return 64;
  }
  const tavuro::headoffice::test::TillFolder till(args[1]);
  std::mt19937 random(args[3].toUInt());
  std::vector<tavuro::store::RecordRef> recent;
  for (long n = 1; !QFileInfo::exists(args[2]); ++n) {
    const int choice = std::uniform_int_distribution<int>(0, 9)(random);
    const QString amount = QStringLiteral("%1.%2").arg(std::uniform_int_distribution<int>(0, 999)(random))
                               .arg(std::uniform_int_distribution<int>(0, 99)(random), 2, 10, QLatin1Char('0'));
    if (choice == 0 && !recent.empty()) {
      const std::optional<tavuro::store::RecordRef> changed = till.correct_amount(recent.back(), amount);
      if (changed) recent.back() = *changed;
    } else if (choice == 1 && !recent.empty()) {
      till.remove(recent.back());
      recent.pop_back();
    } else {
      recent.push_back(till.record(std::uniform_int_distribution<int>(1, 3)(random), QStringLiteral("苹果"), amount));
    }
    std::printf("ack %ld\n", n);
    std::fflush(stdout);
    // A pause as between two lines at a busy counter (if much shorter than any cashier's),
    // in which others may read the journal.
    QThread::msleep(std::uniform_int_distribution<unsigned long>(2, 20)(random));
  }
  return 0;
}
