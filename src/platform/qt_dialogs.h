#pragma once
// The real dialogs: QMessageBox, QInputDialog, QFileDialog, QColorDialog, QPrintDialog.

#include "platform/dialogs.h"

namespace tavuro::platform {

class QtDialogs final : public Dialogs {
 public:
  Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
  std::optional<QString> input(const QString& prompt, const QString& title,
                               const QString& default_text) override;
  std::optional<QString> open_file(const FileRequest& request) override;
  std::optional<QString> save_file(const FileRequest& request) override;
  std::optional<QColor> color(const QColor& initial) override;
  bool print(PrintRequest& request) override;
};

}  // namespace tavuro::platform
