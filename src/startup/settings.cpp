#include "startup/settings.h"

#include "platform/text_file.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::startup {

using platform::read_first_line;
using platform::write_one_line_file;
using textlayout::trim_spaces;

void load_receipt_counter(AppState& state) {
  const QString& path = state.paths.nober_file;
  if (QFileInfo::exists(path)) {
    if (const auto line = read_first_line(path)) {
      bool ok = false;
      const qint32 counter = trim_spaces(*line).toInt(&ok);
      if (ok) state.receipt_counter = counter;
    }
    return;
  }
  write_one_line_file(path, QStringLiteral("0"));
  state.receipt_counter = 0;
}

void load_company_name(AppState& state) {
  const QString& path = state.paths.co_file;
  if (QFileInfo::exists(path)) {
    if (const auto line = read_first_line(path)) state.company_name = trim_spaces(*line);
    return;
  }
  write_one_line_file(path, QStringLiteral(" "));
  state.company_name.clear();
}

void load_mask_setting(AppState& state) {
  const QString& path = state.paths.public_file;
  if (QFileInfo::exists(path)) {
    if (const auto line = read_first_line(path)) {
      const QString setting = trim_spaces(*line);
      state.mask_setting = setting.startsWith(QStringLiteral("屏蔽")) ? setting : kMaskOff;
    }
    return;
  }
  write_one_line_file(path, kMaskOff);
  state.mask_setting = kMaskOff;
}

void load_admin_password(AppState& state) {
  const QString& path = state.paths.p_file;
  if (!QFileInfo::exists(path)) {
    write_one_line_file(path, QStringLiteral(" "));
    state.admin_password.clear();
    return;
  }
  const auto line = read_first_line(path);
  state.admin_password = line ? trim_spaces(*line) : QString();
}

void load_receipt_printer(AppState& state) {
  state.receipt_printer = printing::read_printer_file(state.paths.printer_file).setting;
}

QString receipt_number_text(qint32 counter) {
  return QStringLiteral("%1").arg(counter, 6, 10, QLatin1Char('0'));
}

}  // namespace tavuro::startup
