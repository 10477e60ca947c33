// Every reader and writer of the day file, shop.dat, use.dat and kefu.dat over each way
// these files get damaged, beside a backup that is current, older, damaged or missing.
// What each must do is in procedures/damage_run.h.

#include "procedures/damage_run.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <cctype>
#include <ostream>
#include <tuple>

namespace tavuro::reliability {

// The names of the test cases' parameters.
void PrintTo(FileKind kind, std::ostream* out) {
  *out << name_of(kind);
}
void PrintTo(Damage damage, std::ostream* out) {
  *out << name_of(damage);
}

namespace {

// Random damage is tried with this many seeds (TAVURO_DAMAGE_SEEDS for a longer run).
int seeds_for(Damage damage) {
  if (damage != Damage::Truncated && damage != Damage::ByteFlips) return 1;
  bool ok = false;
  const int seeds = qEnvironmentVariableIntValue("TAVURO_DAMAGE_SEEDS", &ok);
  return ok && seeds > 0 ? seeds : 6;
}

class DamagedFiles : public ::testing::TestWithParam<std::tuple<FileKind, Damage>> {};

TEST_P(DamagedFiles, EveryReaderAndWriterEndsRecoveredOrWithItsMessage) {
  const auto [kind, damage] = GetParam();
  const auto dir = memory_dir();
  startup::AppState state;
  RecordingDialogs quiet;
  {
    platform::ScopedDialogs scope(quiet);
    fill_shop(state, dir->path());
  }
  ASSERT_TRUE(quiet.messages.isEmpty()) << quiet.messages.join(QLatin1Char('\n')).toStdString();
  const bool has_backup = !target_of(state.paths, kind).backup.isEmpty();

  DamageRun run(state, kind);
  QStringList problems;
  for (int seed = 1; seed <= seeds_for(damage); ++seed) {
    if (!has_backup) {
      problems << run.run(damage, BackupState::Missing, static_cast<unsigned>(seed));
      continue;
    }
    for (BackupState backup : {BackupState::Current, BackupState::Older, BackupState::Damaged, BackupState::Missing}) {
      problems << run.run(damage, backup, static_cast<unsigned>(seed));
    }
  }
  EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}

std::string case_name(const ::testing::TestParamInfo<std::tuple<FileKind, Damage>>& info) {
  std::string name = std::string(name_of(std::get<0>(info.param))) + "_" + name_of(std::get<1>(info.param));
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(
    AllFiles, DamagedFiles,
    ::testing::Combine(::testing::Values(FileKind::Day, FileKind::Shop, FileKind::Use, FileKind::KeFu),
                       ::testing::Values(Damage::GarbageHeader, Damage::Truncated, Damage::Empty, Damage::ByteFlips,
                                         Damage::OtherDataFile, Damage::OtherEmptyFile, Damage::TextFile,
                                         Damage::Directory)),
    case_name);

}  // namespace
}  // namespace tavuro::reliability
