#pragma once
// Runs every reader and writer of one data file over one kind of damage, one procedure
// at a time on freshly damaged bytes, beside a backup that is current, older, damaged or
// missing, and says what went wrong. What must hold after each procedure:
//   - it returned, within a few seconds;
//   - the backup copy is as it was, or a whole data file of the right kind (a valid
//     backup is never replaced by damaged bytes), and a damaged backup's bytes are kept;
//   - damaged bytes the program cannot read are not lost: they are still in place or
//     kept beside the file as a damaged copy (file + ".bad", ".1.bad", …);
//   - no record is lost that the damaged file still gave SQLite, nor one that a whole
//     backup held;
//   - damage it cannot read ends recovered from what the file and its backup still hold,
//     and the user is told once; without a backup, the procedure's described message;
//   - a line or goods written lands in the file, and the backup is brought up to date;
//   - every message shown is one the procedure is described to show.

#include "damage.h"

#include "platform/dialogs.h"
#include "startup/app_state.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace tavuro::cashier {
class Frm_shop;
}

namespace tavuro::reliability {

// Records every message box and answers every question Yes.
class RecordingDialogs final : public platform::Dialogs {
 public:
  platform::Answer message(const QString& text, platform::Icon icon, platform::Buttons buttons,
                           const QString& title) override;
  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> open_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QString> save_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QColor> color(const QColor&) override { return std::nullopt; }
  bool print(platform::PrintRequest&) override { return false; }

  QStringList messages;
};

// The application directory of a shop with goods, operators, customers and a day of sales
// in every file, each with its backup where it has one, on 7 May 2003.
void fill_shop(startup::AppState& state, const QString& app_dir);

struct Procedure;

class DamageRun {
 public:
  // The shop's files must be whole now: they are what every procedure starts from.
  DamageRun(startup::AppState& state, FileKind kind);
  ~DamageRun();

  // Runs every procedure of the file over the damage, beside the backup as given (for the
  // files that have one; the others have none). Each problem found names the procedure.
  QStringList run(Damage damage, BackupState backup, unsigned seed);

 private:
  QStringList run_one(const Procedure& procedure, Damage damage, BackupState backup, unsigned seed);
  void restore(BackupState backup, unsigned seed);

  startup::AppState& state_;
  FileKind kind_;
  Target target_;
  QByteArray healthy_;
  QByteArray healthy_backup_;
  QByteArray older_backup_;
  RecordingDialogs dialogs_;
  std::unique_ptr<platform::ScopedDialogs> scope_;
  std::unique_ptr<cashier::Frm_shop> window_;
};

// What the child process runs as an unprivileged user over an application directory that
// fill_shop made: every damage that needs one, every file. One line per problem.
QStringList run_permission_damage(const QString& app_dir);

}  // namespace tavuro::reliability
