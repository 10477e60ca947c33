#pragma once
// Runs every reader and writer of one data file over one kind of damage, one procedure
// at a time on freshly damaged bytes, and says what went wrong. What must hold after
// each procedure:
//   - it returned, within a few seconds;
//   - the backup copy is as it was, or a whole data file of the right kind (a valid
//     backup is never replaced by damaged bytes);
//   - damaged bytes the program cannot read are not lost: they are still in place or
//     set aside as file + ".bad";
//   - damage it cannot read ends recovered from the backup (silently, when there is
//     one) or with the procedure's described message;
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
  std::optional<QString> openFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QString> saveFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QColor> color(const QColor&) override { return std::nullopt; }
  bool print(platform::PrintRequest&) override { return false; }

  QStringList messages;
};

// The application directory of a shop with goods, operators, customers and a day of sales
// in every file, each with its backup where it has one, on 7 May 2003.
void fill_shop(startup::AppState& state, const QString& appDir);

struct Procedure;

class DamageRun {
 public:
  // The shop's files must be whole now: they are what every procedure starts from.
  DamageRun(startup::AppState& state, FileKind kind);
  ~DamageRun();

  // Runs every procedure of the file over the damage, with or without the backup copy
  // (for the files that have one). Each problem found names the procedure.
  QStringList run(Damage damage, bool withBackup, unsigned seed);

 private:
  QStringList runOne(const Procedure& procedure, Damage damage, bool withBackup, unsigned seed);
  void restore(bool withBackup);

  startup::AppState& state_;
  FileKind kind_;
  Target target_;
  QByteArray healthy_;
  QByteArray healthyBackup_;
  RecordingDialogs dialogs_;
  std::unique_ptr<platform::ScopedDialogs> scope_;
  std::unique_ptr<cashier::Frm_shop> window_;
};

// What the child process runs as an unprivileged user over an application directory that
// fill_shop made: every damage that needs one, every file. One line per problem.
QStringList run_permission_damage(const QString& appDir);

}  // namespace tavuro::reliability
