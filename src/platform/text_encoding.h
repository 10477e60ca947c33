#pragma once
// Which code page a text file's bytes are in. The shop's text files come from three
// places: this program, which writes its setting files in UTF-8; an older install, which
// wrote them in GBK (a subset of GB18030); and a person with an editor, who writes UTF-8.
// Many short GBK texts are valid UTF-8 too (屎 is CA BA, the UTF-8 of ʺ), and UTF-8 Latin
// text is valid GB18030 (Café reads as Caf茅), so where both readings are possible the
// more ordinary text wins, and UTF-8 unless GB18030 is far more ordinary.
// docs/TEXT_FILES.md tells the rule in full.

#include <QByteArray>
#include <QString>

namespace tavuro::platform {

// The UTF-8 byte-order mark that starts the setting files this program writes.
inline constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// The text of a file's bytes: after a UTF-8 byte-order mark UTF-8; otherwise valid UTF-8
// unless its GB18030 reading is far more ordinary; otherwise GB18030.
QString decode_text(const QByteArray& bytes);

// How far a text is from what a shop writes, in points: 0 for ASCII, Latin words,
// common Chinese characters and their punctuation; points for rare characters, control
// and private-use characters, letters of a script standing alone or mixed into a word of
// another, a Chinese character glued to a Latin letter.
int oddness(const QString& text);

}  // namespace tavuro::platform
