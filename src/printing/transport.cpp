#include "printing/transport.h"

namespace tavuro::printing {

std::optional<QString> send_to_printer(const PrinterSetting& setting, const QByteArray& bytes) {
  switch (setting.kind) {
    case PrinterKind::DeviceFile: return send_to_device(setting.target, bytes);
    case PrinterKind::Cups: return send_to_cups(setting.target, bytes);
    case PrinterKind::Network: return send_over_network(setting.target, setting.port, bytes);
    case PrinterKind::System: break;
  }
  return QStringLiteral("系统打印机不收 ESC/POS 数据");
}

}  // namespace tavuro::printing
