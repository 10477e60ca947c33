#pragma once
// Where receipts are printed: the system's default printer, or an ESC/POS thermal printer
// reached as a device file, a raw CUPS queue or a network address, with its paper width
// and whether each receipt is cut and opens the cash drawer. The choice is kept in
// printer.dat as one line: "system", or for example
//   escpos:file:/dev/usb/lp0?width=80&cut=1&drawer=1
//   escpos:cups:收据?width=58&cut=0&drawer=0
//   escpos:tcp:192.168.1.50:9100?width=80&cut=1&drawer=0

#include <QString>
#include <QtGlobal>
#include <optional>

namespace tavuro::printing {

enum class PrinterKind { System, DeviceFile, Cups, Network };

inline constexpr quint16 kDefaultPort = 9100;
inline constexpr int kNarrowPaper = 58;  // millimetres
inline constexpr int kWidePaper = 80;

struct PrinterSetting {
  PrinterKind kind = PrinterKind::System;
  QString target;  // the device path, the CUPS queue or the host
  quint16 port = kDefaultPort;
  int paper = kWidePaper;
  bool cut = false;
  bool drawer = false;

  bool is_system() const { return kind == PrinterKind::System; }
  friend bool operator==(const PrinterSetting&, const PrinterSetting&) = default;
};

// The width of the receipt on the system printer: its rules and columns.
inline constexpr int kSystemReceiptColumns = 88;

// Characters of font A on a line: 32 on 58 mm paper (384 dots), 48 on 80 mm (576 dots).
int columns_of(int paper);
// The columns of a receipt line on the printer of the setting.
int receipt_columns(const PrinterSetting& setting);

// The printer.dat line of a setting. The system printer has no options.
QString setting_line(const PrinterSetting& setting);

// The setting of a printer.dat line (spaces around it dropped); nullopt for a line that
// is not one: an unknown kind or option, a width other than 58 or 80, a flag other than
// 0 or 1, an empty or relative device path, a queue name CUPS cannot hold, a port
// outside 1–65535. Options left out take their defaults (80 mm, no cut, no drawer).
std::optional<PrinterSetting> parse_setting_line(const QString& line);

// Whether the setting can be kept and used: a device path, queue or host is given and
// well formed (what parse_setting_line would read back).
bool is_usable(const PrinterSetting& setting);

// How a message names the printer: the device path, "CUPS 队列 收据", or host:port.
QString printer_name(const PrinterSetting& setting);

struct StoredSetting {
  PrinterSetting setting;   // the system printer unless the line was understood
  bool understood = true;   // false: printer.dat holds a line that is no setting
  QString line;             // what printer.dat holds (empty when missing or empty)
};

// printer.dat: missing, empty or unreadable means the system printer.
StoredSetting read_printer_file(const QString& path);
// Writes the setting's line as the whole file, without a line end.
bool write_printer_file(const QString& path, const PrinterSetting& setting);

}  // namespace tavuro::printing
