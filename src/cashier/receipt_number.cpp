#include "cashier/receipt_number.h"

#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "startup/settings.h"

#include <QFileInfo>

#include <limits>

namespace tavuro::cashier {

bool new_receipt_no(startup::AppState& state) {
  const QString& path = state.paths.nober_file;
  // The counter cannot go past the largest 32-bit number: that is a failure to issue one.
  const bool overflow = state.receipt_counter == std::numeric_limits<qint32>::max();
  if (!overflow) ++state.receipt_counter;
  if (overflow || !QFileInfo(path).isFile() || !platform::write_one_line_file(path, QString::number(state.receipt_counter))) {
    platform::warn(QStringLiteral("写单号文件时出错.[w_no_file]"));
    return false;
  }
  return true;
}

QString receipt_caption(qint32 counter) { return QStringLiteral("单号:") + startup::receipt_number_text(counter); }

}  // namespace tavuro::cashier
