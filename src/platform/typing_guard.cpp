#include "platform/typing_guard.h"

#include <QLineEdit>
#include <QValidator>

namespace tavuro::platform {

namespace {

// QLineEdit's own maximum length would cut a longer text set by the program, and a
// validator sees only the whole new text: the change is what lies between the parts the
// text before and the text after have in common.
class TypingGuard final : public QValidator {
 public:
  TypingGuard(QLineEdit* box, Characters characters, int max_length)
      : QValidator(box), characters_(characters), max_length_(max_length), last_(box->text()) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { last_ = text; });
  }

  State validate(QString& input, int&) const override {
    if (max_length_ > 0 && input.size() > max_length_ && input.size() >= last_.size()) return Invalid;
    qsizetype prefix = 0;
    while (prefix < input.size() && prefix < last_.size() && input[prefix] == last_[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < input.size() - prefix && suffix < last_.size() - prefix &&
           input[input.size() - 1 - suffix] == last_[last_.size() - 1 - suffix]) {
      ++suffix;
    }
    return takes(characters_, input.mid(prefix, input.size() - prefix - suffix)) ? Acceptable : Invalid;
  }

 private:
  Characters characters_;
  int max_length_;
  QString last_;
};

}  // namespace

void guard_typing(QLineEdit* box, Characters characters, int max_length) {
  if (characters == Characters::Any && max_length <= 0) return;
  box->setValidator(new TypingGuard(box, characters, max_length));
}

}  // namespace tavuro::platform
