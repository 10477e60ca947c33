#include "reports/rtf_reader.h"

#include <QColor>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cctype>
#include <vector>

namespace tavuro::reports {

namespace {

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
  Destination destination = Destination::Text;
  int font = -1;  // -1: the default font
  int halfPoints = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int color = 0;  // 0: automatic
  int skipCount = 1;
  Qt::Alignment alignment = Qt::AlignLeft;
  bool ignorable = false;  // the group began with \*
};

struct FontEntry {
  QByteArray nameBytes;
  QString name;
  int charset = -1;
};

// The code page of an RTF font charset; empty for "use the document's code page".
QByteArray codec_of_charset(int charset) {
  switch (charset) {
    case 128:
      return "Shift_JIS";
    case 129:
      return "windows-949";
    case 134:
      return "GB18030";
    case 136:
      return "Big5";
    case 161:
      return "windows-1253";
    case 162:
      return "windows-1254";
    case 163:
      return "windows-1258";
    case 177:
      return "windows-1255";
    case 178:
      return "windows-1256";
    case 186:
      return "windows-1257";
    case 204:
      return "windows-1251";
    case 222:
      return "windows-874";
    case 238:
      return "windows-1250";
    default:
      return {};
  }
}

QByteArray codec_of_code_page(int codePage) {
  switch (codePage) {
    case 936:
      return "GB18030";
    case 950:
      return "Big5";
    case 932:
      return "Shift_JIS";
    case 949:
      return "windows-949";
    case 874:
      return "windows-874";
    default:
      if (codePage >= 1250 && codePage <= 1258) return "windows-" + QByteArray::number(codePage);
      return "windows-1252";
  }
}

// Destinations whose text is not document text.
bool is_skipped_destination(const QByteArray& word) {
  static const QSet<QByteArray> skipped = {
      "stylesheet",   "info",     "pict",         "header",     "headerl",
      "headerr",      "headerf",  "footer",       "footerl",    "footerr",
      "footerf",      "footnote", "object",       "listtable",  "listoverridetable",
      "revtbl",       "rsidtbl",  "filetbl",      "xe",         "tc",
      "txe",          "fldinst",  "datafield",    "themedata",  "colorschememapping",
      "latentstyles", "pgdsctbl", "generator",    "author",     "operator",
      "title",        "subject",  "creatim",      "revtim",     "printim",
      "buptim",       "comment",  "doccomm",      "keywords",   "nonshppict",
      "shp",          "shpinst",  "sp",           "template",   "bkmkstart",
      "bkmkend",      "atnid",    "atnauthor",    "annotation", "private",
      "xmlnstbl",     "mmathPr",  "wgrffmtfilter"};
  return skipped.contains(word);
}

class RtfReader {
 public:
  RtfReader(const QByteArray& rtf, QTextDocument& document) : in_(rtf), document_(document), cursor_(&document) {}

  void read() {
    document_.clear();
    cursor_ = QTextCursor(&document_);
    stack_.push_back(GroupState{});
    const qsizetype size = in_.size();
    while (pos_ < size) {
      const char c = in_[pos_];
      if (c == '{') {
        ++pos_;
        flushRun();
        skipLeft_ = 0;
        stack_.push_back(stack_.back());
        stack_.back().ignorable = false;
      } else if (c == '}') {
        ++pos_;
        flushRun();
        skipLeft_ = 0;
        endGroup();
        if (stack_.empty()) break;
      } else if (c == '\\') {
        ++pos_;
        readControl();
      } else if (c == '\r' || c == '\n') {
        ++pos_;
      } else {
        ++pos_;
        if (skipLeft_ > 0) {
          --skipLeft_;
          continue;
        }
        if (c == '\t') {
          flushBytes();
          text_ += QLatin1Char('\t');
        } else {
          bytes_ += c;
        }
      }
    }
    flushRun();
    finish();
  }

 private:
  GroupState& state() { return stack_.back(); }

  void endGroup() {
    const GroupState ending = stack_.back();
    stack_.pop_back();
    if (ending.destination == Destination::FontTable && currentFont_ >= 0) finishFontName();
    if (stack_.empty()) return;
    // A font entry's group ends its name even without the closing ";".
    if (ending.destination == Destination::FontTable && stack_.back().destination != Destination::FontTable) {
      currentFont_ = -1;
    }
  }

  void readControl() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++pos_;
      readSymbol(c);
      return;
    }
    QByteArray word;
    while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])) && word.size() < 32) {
      word += in_[pos_++];
    }
    bool hasParam = false;
    bool negative = false;
    long long param = 0;
    if (pos_ < in_.size() && in_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
      hasParam = true;
      if (param < 100000000) param = param * 10 + (in_[pos_] - '0');
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    readWord(word, hasParam, static_cast<int>(param));
  }

  void readSymbol(char c) {
    if (c == '\'') {
      bool ok = false;
      const int value = in_.mid(pos_, 2).toInt(&ok, 16);
      pos_ += 2;
      if (skipLeft_ > 0) {
        --skipLeft_;
        return;
      }
      if (ok) bytes_ += static_cast<char>(value);
      return;
    }
    if (skipLeft_ > 0) {
      --skipLeft_;
      return;
    }
    switch (c) {
      case '\\':
      case '{':
      case '}':
        bytes_ += c;
        break;
      case '~':
        appendChar(QChar(0x00A0));
        break;
      case '_':
        appendChar(QLatin1Char('-'));
        break;
      case '*':
        state().ignorable = true;
        break;
      case '\r':
      case '\n':
        flushRun();
        paragraph();
        break;
      default:
        break;  // \- optional hyphen, \: index entry, \| formula
    }
  }

  void appendChar(QChar c) {
    flushBytes();
    text_ += c;
  }

  void readWord(const QByteArray& word, bool hasParam, int param) {
    if (word == "bin") {
      flushRun();
      pos_ += qMax(0, param);
      return;
    }
    if (word == "u") {
      flushBytes();
      if (state().destination == Destination::FontTable && currentFont_ >= 0) {
        fontNameText_ += QChar(static_cast<char16_t>(static_cast<quint16>(param)));
      } else {
        text_ += QChar(static_cast<char16_t>(static_cast<quint16>(param)));
      }
      skipLeft_ = state().skipCount;
      return;
    }
    if (skipLeft_ > 0) {
      --skipLeft_;
      return;
    }
    flushRun();
    GroupState& s = state();
    if (word == "uc") {
      s.skipCount = qMax(0, param);
      return;
    }
    if (word == "ansicpg") {
      ansiCodec_ = codec_of_code_page(param);
      return;
    }
    if (word == "deff") {
      defaultFont_ = param;
      return;
    }
    if (word == "fonttbl") {
      s.destination = Destination::FontTable;
      return;
    }
    if (word == "colortbl") {
      s.destination = Destination::ColorTable;
      colorStarted_ = false;
      return;
    }
    if (s.destination == Destination::Skip) return;
    // An ignorable destination (\*) or one whose text is not document text.
    if (s.ignorable || is_skipped_destination(word)) {
      s.destination = Destination::Skip;
      return;
    }
    if (s.destination == Destination::FontTable) {
      fontTableWord(word, param);
      return;
    }
    if (s.destination == Destination::ColorTable) {
      colorTableWord(word, param);
      return;
    }
    textWord(word, hasParam, param);
  }

  void fontTableWord(const QByteArray& word, int param) {
    if (word == "f") {
      if (currentFont_ >= 0) finishFontName();
      currentFont_ = param;
      fontNameText_.clear();
      fonts_[param];
    } else if (word == "fcharset" && currentFont_ >= 0) {
      fonts_[currentFont_].charset = param;
    }
  }

  void colorTableWord(const QByteArray& word, int param) {
    if (word == "red")
      pendingColor_.setRed(qBound(0, param, 255));
    else if (word == "green")
      pendingColor_.setGreen(qBound(0, param, 255));
    else if (word == "blue")
      pendingColor_.setBlue(qBound(0, param, 255));
    else
      return;
    colorStarted_ = true;
  }

  void textWord(const QByteArray& word, bool hasParam, int param) {
    GroupState& s = state();
    const bool on = !hasParam || param != 0;
    if (word == "par" || word == "sect" || word == "row") {
      paragraph();
    } else if (word == "line") {
      text_ += QChar(QChar::LineSeparator);
    } else if (word == "tab" || word == "cell") {
      text_ += QLatin1Char('\t');
    } else if (word == "pard") {
      s.alignment = Qt::AlignLeft;
    } else if (word == "plain") {
      s.font = -1;
      s.halfPoints = 24;
      s.bold = s.italic = s.underline = false;
      s.color = 0;
    } else if (word == "ql") {
      s.alignment = Qt::AlignLeft;
    } else if (word == "qc") {
      s.alignment = Qt::AlignHCenter;
    } else if (word == "qr") {
      s.alignment = Qt::AlignRight;
    } else if (word == "qj") {
      s.alignment = Qt::AlignJustify;
    } else if (word == "b") {
      s.bold = on;
    } else if (word == "i") {
      s.italic = on;
    } else if (word == "ulnone") {
      s.underline = false;
    } else if (word == "ul" || word == "uld" || word == "uldash" || word == "uldb" || word == "ulth" || word == "ulw" ||
               word == "ulwave") {
      s.underline = on;
    } else if (word == "f") {
      s.font = param;
    } else if (word == "fs") {
      if (param > 0) s.halfPoints = param;
    } else if (word == "cf") {
      s.color = param;
    } else if (word == "emdash") {
      text_ += QChar(0x2014);
    } else if (word == "endash") {
      text_ += QChar(0x2013);
    } else if (word == "lquote") {
      text_ += QChar(0x2018);
    } else if (word == "rquote") {
      text_ += QChar(0x2019);
    } else if (word == "ldblquote") {
      text_ += QChar(0x201C);
    } else if (word == "rdblquote") {
      text_ += QChar(0x201D);
    } else if (word == "bullet") {
      text_ += QChar(0x2022);
    }
  }

  QByteArray codecFor(int font) const {
    const auto it = fonts_.find(font < 0 ? defaultFont_ : font);
    if (it != fonts_.end()) {
      const QByteArray codec = codec_of_charset(it->charset);
      if (!codec.isEmpty()) return codec;
    }
    return ansiCodec_;
  }

  static QString decode(const QByteArray& bytes, const QByteArray& codec) {
    QStringDecoder decoder(codec.constData());
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
  }

  // Turns the bytes gathered so far into text, in the code page of the current font.
  void flushBytes() {
    if (bytes_.isEmpty()) return;
    const GroupState& s = state();
    if (s.destination == Destination::FontTable) {
      fontBytes_ += bytes_;
    } else if (s.destination == Destination::ColorTable) {
      for (qsizetype i = bytes_.count(';'); i > 0; --i) {
        colors_ << (colorStarted_ ? pendingColor_ : QColor());
        pendingColor_ = QColor(0, 0, 0);
        colorStarted_ = false;
      }
    } else if (s.destination == Destination::Text) {
      text_ += decode(bytes_, codecFor(s.font));
    }
    bytes_.clear();
    if (s.destination == Destination::FontTable) takeFontNameBytes();
  }

  // Font names end with ";"; their bytes are in the font's own code page.
  void takeFontNameBytes() {
    if (currentFont_ < 0) {
      fontBytes_.clear();
      return;
    }
    const qsizetype end = fontBytes_.indexOf(';');
    const QByteArray codec = codecFor(currentFont_);
    if (end < 0) {
      fontNameText_ += decode(fontBytes_, codec);
      fontBytes_.clear();
      return;
    }
    fontNameText_ += decode(fontBytes_.left(end), codec);
    fontBytes_.clear();
    finishFontName();
  }

  void finishFontName() {
    if (currentFont_ < 0) return;
    fontNameText_ += decode(fontBytes_, codecFor(currentFont_));
    fontBytes_.clear();
    FontEntry& entry = fonts_[currentFont_];
    if (entry.name.isEmpty()) entry.name = fontNameText_.trimmed();
    fontNameText_.clear();
    currentFont_ = -1;
  }

  QTextCharFormat charFormat() const {
    const GroupState& s = stack_.back();
    QTextCharFormat format;
    const auto it = fonts_.find(s.font < 0 ? defaultFont_ : s.font);
    if (it != fonts_.end() && !it->name.isEmpty()) format.setFontFamilies({it->name});
    format.setFontPointSize(s.halfPoints / 2.0);
    format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(s.italic);
    format.setFontUnderline(s.underline);
    if (s.color > 0 && s.color < colors_.size() && colors_[s.color].isValid()) {
      format.setForeground(colors_[s.color]);
    }
    return format;
  }

  // Puts the text gathered so far into the document with the current format.
  void flushRun() {
    flushBytes();
    if (text_.isEmpty()) return;
    if (state().destination == Destination::Text) {
      cursor_.insertText(text_, charFormat());
      pendingParagraphEnd_ = false;
    }
    text_.clear();
  }

  void setBlockAlignment() {
    QTextBlockFormat format = cursor_.blockFormat();
    format.setAlignment(state().alignment);
    cursor_.setBlockFormat(format);
  }

  void paragraph() {
    flushRun();
    setBlockAlignment();
    if (cursor_.block().length() <= 1) cursor_.setBlockCharFormat(charFormat());
    cursor_.insertBlock(QTextBlockFormat(), charFormat());
    pendingParagraphEnd_ = true;
  }

  // A last paragraph mark closes the last paragraph; it does not open an empty one.
  void finish() {
    if (pendingParagraphEnd_ && cursor_.block().length() <= 1 && document_.blockCount() > 1) {
      cursor_.deletePreviousChar();
    } else if (!stack_.empty()) {
      setBlockAlignment();
    }
  }

  const QByteArray& in_;
  QTextDocument& document_;
  QTextCursor cursor_;
  qsizetype pos_ = 0;
  std::vector<GroupState> stack_;
  QByteArray bytes_;
  QString text_;
  int skipLeft_ = 0;
  QByteArray ansiCodec_ = "windows-1252";
  int defaultFont_ = 0;
  QHash<int, FontEntry> fonts_;
  int currentFont_ = -1;
  QByteArray fontBytes_;
  QString fontNameText_;
  QList<QColor> colors_;  // invalid: the automatic colour
  QColor pendingColor_ = QColor(0, 0, 0);
  bool colorStarted_ = false;
  bool pendingParagraphEnd_ = false;
};

}  // namespace

bool looks_like_rtf(const QByteArray& bytes) {
  return bytes.trimmed().startsWith("{\\rtf");
}

bool read_rtf(const QByteArray& rtf, QTextDocument& document) {
  if (!looks_like_rtf(rtf)) return false;
  RtfReader(rtf, document).read();
  return true;
}

}  // namespace tavuro::reports
