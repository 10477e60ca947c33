#pragma once
// The ESC/POS commands a receipt needs, and its text in GB18030 for the printer's built-in
// Chinese font (font A: 12 dots a column, a Chinese character two columns).

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tavuro::printing::escpos {

// ESC @: back to the power-on state (font A, left aligned, default line spacing).
QByteArray initialize();
// FS &: two-byte characters from here on (the GB18030 font of Chinese models).
QByteArray chinese_mode();
// ESC d n: prints what is buffered and feeds n lines.
QByteArray feed_lines(int lines);
// GS V 66 0: feeds the last line past the cutter and cuts, leaving a hinge.
QByteArray partial_cut();
// ESC p 0 25 250: a pulse of 50 ms on drawer pin 2, 500 ms before the next.
QByteArray drawer_kick();
// DLE EOT 1: asks for the printer status byte; answered at once, even mid-job.
QByteArray status_query();

// The text as it is sent: every character the printer's font holds stays; control
// characters (which would be taken as commands) and characters GB18030 cannot encode
// become a full-width ？, and the half-width yen sign the full-width ￥, all of the same
// display width.
QString printable(const QString& text);
// Whether this system's Qt can encode GB18030 (it needs ICU).
bool gb18030_available();
// The printable text in GB18030 followed by LF.
QByteArray text_line(const QString& text);

// A whole job: initialize, Chinese mode, the lines, a feed, then the cut and the drawer
// pulse when asked for.
QByteArray job(const QStringList& lines, bool cut, bool drawer);

}  // namespace tavuro::printing::escpos
