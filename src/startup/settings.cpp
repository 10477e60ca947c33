#include "startup/settings.h"

#include "platform/text_file.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::startup {

using platform::read_first_line;
using platform::write_one_line_file;
using textlayout::trim_spaces;

void load_receipt_counter(AppState& state) {
  const QString& path = state.paths.noberFile;
  if (QFileInfo::exists(path)) {
    if (const auto line = read_first_line(path)) {
      bool ok = false;
      const qint32 counter = trim_spaces(*line).toInt(&ok);
      if (ok) state.receiptCounter = counter;
    }
    return;
  }
  write_one_line_file(path, QStringLiteral("0"));
  state.receiptCounter = 0;
}

void load_company_name(AppState& state) {
  const QString& path = state.paths.coFile;
  if (QFileInfo::exists(path)) {
    if (const auto line = read_first_line(path)) state.companyName = trim_spaces(*line);
    return;
  }
  write_one_line_file(path, QStringLiteral(" "));
  state.companyName.clear();
}

void load_mask_setting(AppState& state) {
  const QString& path = state.paths.publicFile;
  if (QFileInfo::exists(path)) {
    if (const auto line = read_first_line(path)) {
      const QString setting = trim_spaces(*line);
      state.maskSetting = setting.startsWith(QStringLiteral("屏蔽")) ? setting : kMaskOff;
    }
    return;
  }
  write_one_line_file(path, kMaskOff);
  state.maskSetting = kMaskOff;
}

void load_admin_password(AppState& state) {
  const QString& path = state.paths.pFile;
  if (!QFileInfo::exists(path)) {
    write_one_line_file(path, QStringLiteral(" "));
    state.adminPassword.clear();
    return;
  }
  const auto line = read_first_line(path);
  state.adminPassword = line ? trim_spaces(*line) : QString();
}

void load_receipt_printer(AppState& state) {
  state.receipt_printer = printing::read_printer_file(state.paths.printer_file).setting;
}

QString receipt_number_text(qint32 counter) {
  return QStringLiteral("%1").arg(counter, 6, 10, QLatin1Char('0'));
}

}  // namespace tavuro::startup
