#pragma once
// What every fuzz target needs: dialogs that answer without a screen, a scratch folder,
// and a check that stops the run with a message when a property is broken.

#include "platform/dialogs.h"

#include <QString>

namespace tavuro::fuzz {

// Answers every dialog at once: OK, No, cancelled.
class SilentDialogs final : public platform::Dialogs {
 public:
  platform::Answer message(const QString&, platform::Icon, platform::Buttons buttons, const QString&) override {
    ++messages;
    return buttons == platform::Buttons::Ok ? platform::Answer::Ok : platform::Answer::No;
  }
  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> open_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QString> save_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QColor> color(const QColor&) override { return std::nullopt; }
  bool print(platform::PrintRequest&) override { return false; }
  int messages = 0;
};

// A folder that lives as long as the process.
const QString& scratch_dir();

// Stops the process when a property does not hold.
void require(bool holds, const char* property, const QString& input);

}  // namespace tavuro::fuzz
