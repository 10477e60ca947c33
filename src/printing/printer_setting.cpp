#include "printing/printer_setting.h"

#include "platform/text_file.h"
#include "textlayout/text_layout.h"

#include <QStringList>

namespace tavuro::printing {

namespace {

const QString kSystem = QStringLiteral("system");
const QString kEscPos = QStringLiteral("escpos:");
const QString kFileKind = QStringLiteral("file");
const QString kCupsKind = QStringLiteral("cups");
const QString kTcpKind = QStringLiteral("tcp");

bool has_any_of(const QString& text, QStringView characters) {
  for (const QChar c : text) {
    if (characters.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
  }
  return false;
}

std::optional<quint16> port_of(const QString& digits) {
  if (digits.isEmpty() || digits.size() > 5) return std::nullopt;
  int port = 0;
  for (const QChar c : digits) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    port = port * 10 + (c.unicode() - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return static_cast<quint16>(port);
}

// host, host:port, [v6], [v6]:port
bool read_address(const QString& address, PrinterSetting& setting) {
  std::optional<QString> port;
  if (address.startsWith(QLatin1Char('['))) {
    const qsizetype close = address.indexOf(QLatin1Char(']'));
    if (close < 0) return false;
    setting.target = address.mid(1, close - 1);
    const QString after = address.mid(close + 1);
    if (!after.isEmpty()) {
      if (!after.startsWith(QLatin1Char(':'))) return false;
      port = after.mid(1);
    }
  } else if (address.count(QLatin1Char(':')) > 1) {
    return false;  // a bare IPv6 address: which colon ends it?
  } else {
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    setting.target = colon < 0 ? address : address.left(colon);
    if (colon >= 0) port = address.mid(colon + 1);
  }
  if (!port) return true;
  const auto number = port_of(*port);
  if (!number) return false;
  setting.port = *number;
  return true;
}

bool read_flag(const QString& value, bool& flag) {
  if (value != QLatin1String("0") && value != QLatin1String("1")) return false;
  flag = value == QLatin1String("1");
  return true;
}

bool read_options(const QString& options, PrinterSetting& setting) {
  if (options.isEmpty()) return true;
  QStringList seen;
  for (const QString& option : options.split(QLatin1Char('&'))) {
    const qsizetype equals = option.indexOf(QLatin1Char('='));
    if (equals < 0) return false;
    const QString key = option.left(equals);
    const QString value = option.mid(equals + 1);
    if (seen.contains(key)) return false;
    seen << key;
    if (key == QLatin1String("width")) {
      if (value != QLatin1String("58") && value != QLatin1String("80")) return false;
      setting.paper = value.toInt();
    } else if (key == QLatin1String("cut")) {
      if (!read_flag(value, setting.cut)) return false;
    } else if (key == QLatin1String("drawer")) {
      if (!read_flag(value, setting.drawer)) return false;
    } else {
      return false;
    }
  }
  return true;
}

QString address_of(const PrinterSetting& setting) {
  const QString host = setting.target.contains(QLatin1Char(':')) ? QLatin1Char('[') + setting.target + QLatin1Char(']')
                                                                  : setting.target;
  return host + QLatin1Char(':') + QString::number(setting.port);
}

}  // namespace

int columns_of(int paper) { return paper == kNarrowPaper ? 32 : 48; }

int receipt_columns(const PrinterSetting& setting) {
  return setting.is_system() ? kSystemReceiptColumns : columns_of(setting.paper);
}

bool is_usable(const PrinterSetting& setting) {
  if (setting.paper != kNarrowPaper && setting.paper != kWidePaper) return false;
  switch (setting.kind) {
    case PrinterKind::System: return true;
    case PrinterKind::DeviceFile:
      return setting.target.startsWith(QLatin1Char('/')) && !has_any_of(setting.target, u"");
    case PrinterKind::Cups:
      // CUPS names hold any printable character but these, in at most 127 bytes.
      return !setting.target.isEmpty() && setting.target.toUtf8().size() <= 127 &&
             !has_any_of(setting.target, u" /\\?#'\"");
    case PrinterKind::Network:
      return !setting.target.isEmpty() && setting.port != 0 && !has_any_of(setting.target, u" /\\?#@[]");
  }
  return false;
}

QString setting_line(const PrinterSetting& setting) {
  QString address;
  switch (setting.kind) {
    case PrinterKind::System: return kSystem;
    case PrinterKind::DeviceFile: address = kFileKind + QLatin1Char(':') + setting.target; break;
    case PrinterKind::Cups: address = kCupsKind + QLatin1Char(':') + setting.target; break;
    case PrinterKind::Network: address = kTcpKind + QLatin1Char(':') + address_of(setting); break;
  }
  return kEscPos + address +
         QStringLiteral("?width=%1&cut=%2&drawer=%3").arg(setting.paper).arg(int{setting.cut}).arg(int{setting.drawer});
}

std::optional<PrinterSetting> parse_setting_line(const QString& line) {
  const QString text = textlayout::trim_spaces(line);
  if (text == kSystem) return PrinterSetting{};
  if (!text.startsWith(kEscPos)) return std::nullopt;
  const QString rest = text.mid(kEscPos.size());
  const qsizetype colon = rest.indexOf(QLatin1Char(':'));
  if (colon < 0) return std::nullopt;
  const QString kind = rest.left(colon);
  QString address = rest.mid(colon + 1);
  QString options;
  // Options follow the last "?": a device path may hold one of its own.
  if (const qsizetype question = address.lastIndexOf(QLatin1Char('?')); question >= 0) {
    options = address.mid(question + 1);
    address.truncate(question);
  }
  PrinterSetting setting;
  if (kind == kFileKind) {
    setting.kind = PrinterKind::DeviceFile;
    setting.target = address;
  } else if (kind == kCupsKind) {
    setting.kind = PrinterKind::Cups;
    setting.target = address;
  } else if (kind == kTcpKind) {
    setting.kind = PrinterKind::Network;
    if (!read_address(address, setting)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (!read_options(options, setting) || !is_usable(setting)) return std::nullopt;
  return setting;
}

QString printer_name(const PrinterSetting& setting) {
  switch (setting.kind) {
    case PrinterKind::System: return QStringLiteral("系统打印机");
    case PrinterKind::DeviceFile: return setting.target;
    case PrinterKind::Cups: return QStringLiteral("CUPS 队列 ") + setting.target;
    case PrinterKind::Network: return address_of(setting);
  }
  return {};
}

StoredSetting read_printer_file(const QString& path) {
  StoredSetting stored;
  const auto line = platform::read_first_line(path);
  if (!line || textlayout::trim_spaces(*line).isEmpty()) return stored;
  stored.line = *line;
  if (const auto setting = parse_setting_line(*line)) {
    stored.setting = *setting;
  } else {
    stored.understood = false;
  }
  return stored;
}

bool write_printer_file(const QString& path, const PrinterSetting& setting) {
  return platform::write_one_line_file(path, setting_line(setting));
}

}  // namespace tavuro::printing
