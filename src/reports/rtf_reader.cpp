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
  int half_points = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int color = 0;  // 0: automatic
  int skip_count = 1;
  Qt::Alignment alignment = Qt::AlignLeft;
  bool ignorable = false;  // the group began with \*
};

struct FontEntry {
  QByteArray name_bytes;
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

QByteArray codec_of_code_page(int code_page) {
  switch (code_page) {
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
      if (code_page >= 1250 && code_page <= 1258) return "windows-" + QByteArray::number(code_page);
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
        flush_run();
        skip_left_ = 0;
        stack_.push_back(stack_.back());
        stack_.back().ignorable = false;
      } else if (c == '}') {
        ++pos_;
        flush_run();
        skip_left_ = 0;
        endGroup();
        if (stack_.empty()) break;
      } else if (c == '\\') {
        ++pos_;
        read_control();
      } else if (c == '\r' || c == '\n') {
        ++pos_;
      } else {
        ++pos_;
        if (skip_left_ > 0) {
          --skip_left_;
          continue;
        }
        if (c == '\t') {
          flush_bytes();
          text_ += QLatin1Char('\t');
        } else {
          bytes_ += c;
        }
      }
    }
    flush_run();
    finish();
  }

 private:
  GroupState& state() { return stack_.back(); }

  void endGroup() {
    const GroupState ending = stack_.back();
    stack_.pop_back();
    if (ending.destination == Destination::FontTable && currentFont_ >= 0) finish_font_name();
    if (stack_.empty()) return;
    // A font entry's group ends its name even without the closing ";".
    if (ending.destination == Destination::FontTable && stack_.back().destination != Destination::FontTable) {
      currentFont_ = -1;
    }
  }

  void read_control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++pos_;
      read_symbol(c);
      return;
    }
    QByteArray word;
    while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])) && word.size() < 32) {
      word += in_[pos_++];
    }
    bool has_param = false;
    bool negative = false;
    long long param = 0;
    if (pos_ < in_.size() && in_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
      has_param = true;
      if (param < 100000000) param = param * 10 + (in_[pos_] - '0');
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    read_word(word, has_param, static_cast<int>(param));
  }

  void read_symbol(char c) {
    if (c == '\'') {
      bool ok = false;
      const int value = in_.mid(pos_, 2).toInt(&ok, 16);
      pos_ += 2;
      if (skip_left_ > 0) {
        --skip_left_;
        return;
      }
      if (ok) bytes_ += static_cast<char>(value);
      return;
    }
    if (skip_left_ > 0) {
      --skip_left_;
      return;
    }
    switch (c) {
      case '\\':
      case '{':
      case '}':
        bytes_ += c;
        break;
      case '~':
        append_char(QChar(0x00A0));
        break;
      case '_':
        append_char(QLatin1Char('-'));
        break;
      case '*':
        state().ignorable = true;
        break;
      case '\r':
      case '\n':
        flush_run();
        paragraph();
        break;
      default:
        break;  // \- optional hyphen, \: index entry, \| formula
    }
  }

  void append_char(QChar c) {
    flush_bytes();
    text_ += c;
  }

  void read_word(const QByteArray& word, bool has_param, int param) {
    if (word == "bin") {
      flush_run();
      pos_ += qMax(0, param);
      return;
    }
    if (word == "u") {
      flush_bytes();
      if (state().destination == Destination::FontTable && currentFont_ >= 0) {
        font_name_text_ += QChar(static_cast<char16_t>(static_cast<quint16>(param)));
      } else {
        text_ += QChar(static_cast<char16_t>(static_cast<quint16>(param)));
      }
      skip_left_ = state().skip_count;
      return;
    }
    if (skip_left_ > 0) {
      --skip_left_;
      return;
    }
    flush_run();
    GroupState& s = state();
    if (word == "uc") {
      s.skip_count = qMax(0, param);
      return;
    }
    if (word == "ansicpg") {
      ansi_codec_ = codec_of_code_page(param);
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
      color_started_ = false;
      return;
    }
    if (s.destination == Destination::Skip) return;
    // An ignorable destination (\*) or one whose text is not document text.
    if (s.ignorable || is_skipped_destination(word)) {
      s.destination = Destination::Skip;
      return;
    }
    if (s.destination == Destination::FontTable) {
      font_table_word(word, param);
      return;
    }
    if (s.destination == Destination::ColorTable) {
      color_table_word(word, param);
      return;
    }
    text_word(word, has_param, param);
  }

  void font_table_word(const QByteArray& word, int param) {
    if (word == "f") {
      if (currentFont_ >= 0) finish_font_name();
      currentFont_ = param;
      font_name_text_.clear();
      fonts_[param];
    } else if (word == "fcharset" && currentFont_ >= 0) {
      fonts_[currentFont_].charset = param;
    }
  }

  void color_table_word(const QByteArray& word, int param) {
    if (word == "red")
      pending_color_.setRed(qBound(0, param, 255));
    else if (word == "green")
      pending_color_.setGreen(qBound(0, param, 255));
    else if (word == "blue")
      pending_color_.setBlue(qBound(0, param, 255));
    else
      return;
    color_started_ = true;
  }

  void text_word(const QByteArray& word, bool has_param, int param) {
    GroupState& s = state();
    const bool on = !has_param || param != 0;
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
      s.half_points = 24;
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
      if (param > 0) s.half_points = param;
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

  QByteArray codec_for(int font) const {
    const auto it = fonts_.find(font < 0 ? defaultFont_ : font);
    if (it != fonts_.end()) {
      const QByteArray codec = codec_of_charset(it->charset);
      if (!codec.isEmpty()) return codec;
    }
    return ansi_codec_;
  }

  static QString decode(const QByteArray& bytes, const QByteArray& codec) {
    QStringDecoder decoder(codec.constData());
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
  }

  // Turns the bytes gathered so far into text, in the code page of the current font.
  void flush_bytes() {
    if (bytes_.isEmpty()) return;
    const GroupState& s = state();
    if (s.destination == Destination::FontTable) {
      font_bytes_ += bytes_;
    } else if (s.destination == Destination::ColorTable) {
      for (qsizetype i = bytes_.count(';'); i > 0; --i) {
        colors_ << (color_started_ ? pending_color_ : QColor());
        pending_color_ = QColor(0, 0, 0);
        color_started_ = false;
      }
    } else if (s.destination == Destination::Text) {
      text_ += decode(bytes_, codec_for(s.font));
    }
    bytes_.clear();
    if (s.destination == Destination::FontTable) take_font_name_bytes();
  }

  // Font names end with ";"; their bytes are in the font's own code page.
  void take_font_name_bytes() {
    if (currentFont_ < 0) {
      font_bytes_.clear();
      return;
    }
    const qsizetype end = font_bytes_.indexOf(';');
    const QByteArray codec = codec_for(currentFont_);
    if (end < 0) {
      font_name_text_ += decode(font_bytes_, codec);
      font_bytes_.clear();
      return;
    }
    font_name_text_ += decode(font_bytes_.left(end), codec);
    font_bytes_.clear();
    finish_font_name();
  }

  void finish_font_name() {
    if (currentFont_ < 0) return;
    font_name_text_ += decode(font_bytes_, codec_for(currentFont_));
    font_bytes_.clear();
    FontEntry& entry = fonts_[currentFont_];
    if (entry.name.isEmpty()) entry.name = font_name_text_.trimmed();
    font_name_text_.clear();
    currentFont_ = -1;
  }

  QTextCharFormat charFormat() const {
    const GroupState& s = stack_.back();
    QTextCharFormat format;
    const auto it = fonts_.find(s.font < 0 ? defaultFont_ : s.font);
    if (it != fonts_.end() && !it->name.isEmpty()) format.setFontFamilies({it->name});
    format.setFontPointSize(s.half_points / 2.0);
    format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(s.italic);
    format.setFontUnderline(s.underline);
    if (s.color > 0 && s.color < colors_.size() && colors_[s.color].isValid()) {
      format.setForeground(colors_[s.color]);
    }
    return format;
  }

  // Puts the text gathered so far into the document with the current format.
  void flush_run() {
    flush_bytes();
    if (text_.isEmpty()) return;
    if (state().destination == Destination::Text) {
      cursor_.insertText(text_, charFormat());
      pending_paragraph_end_ = false;
    }
    text_.clear();
  }

  void set_block_alignment() {
    QTextBlockFormat format = cursor_.blockFormat();
    format.setAlignment(state().alignment);
    cursor_.setBlockFormat(format);
  }

  void paragraph() {
    flush_run();
    set_block_alignment();
    if (cursor_.block().length() <= 1) cursor_.setBlockCharFormat(charFormat());
    cursor_.insertBlock(QTextBlockFormat(), charFormat());
    pending_paragraph_end_ = true;
  }

  // A last paragraph mark closes the last paragraph; it does not open an empty one.
  void finish() {
    if (pending_paragraph_end_ && cursor_.block().length() <= 1 && document_.blockCount() > 1) {
      cursor_.deletePreviousChar();
    } else if (!stack_.empty()) {
      set_block_alignment();
    }
  }

  const QByteArray& in_;
  QTextDocument& document_;
  QTextCursor cursor_;
  qsizetype pos_ = 0;
  std::vector<GroupState> stack_;
  QByteArray bytes_;
  QString text_;
  int skip_left_ = 0;
  QByteArray ansi_codec_ = "windows-1252";
  int defaultFont_ = 0;
  QHash<int, FontEntry> fonts_;
  int currentFont_ = -1;
  QByteArray font_bytes_;
  QString font_name_text_;
  QList<QColor> colors_;  // invalid: the automatic colour
  QColor pending_color_ = QColor(0, 0, 0);
  bool color_started_ = false;
  bool pending_paragraph_end_ = false;
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
