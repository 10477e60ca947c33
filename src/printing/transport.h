#pragma once
// Getting a job's bytes to an ESC/POS printer: through its device file (/dev/usb/lp0), a
// raw CUPS queue, or a network connection (port 9100). Each returns nothing when the
// printer (or CUPS) took every byte, or the cause of the failure in the user's words.
// Nothing waits long: a printer that takes no bytes or gives no answer for 2 s counts as
// not answering.

#include "printing/printer_setting.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace tavuro::printing {

inline constexpr std::chrono::milliseconds kAnswerTime{2000};

// Writes to the device file, which must exist (a printer that is not plugged in is not
// created as a file). The device is locked for the job, so that two jobs never mix.
std::optional<QString> send_to_device(const QString& path, const QByteArray& bytes);

// Connects, asks the printer for its status and, once it has answered, sends the bytes.
std::optional<QString> send_over_network(const QString& host, quint16 port, const QByteArray& bytes);

// One raw job (no filter) on the queue of the CUPS server this system uses.
std::optional<QString> send_to_cups(const QString& queue, const QByteArray& bytes);

// The queues of the CUPS server, for choosing one; empty when it cannot be reached.
QStringList cups_queues();

// Through the transport of the setting (not the system printer's).
std::optional<QString> send_to_printer(const PrinterSetting& setting, const QByteArray& bytes);

}  // namespace tavuro::printing
