#include "support/keyboard.h"
#include "support/modal_windows.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

using namespace std::chrono_literals;

struct Press {
  int key;
  Qt::KeyboardModifiers modifiers;
  QString text;
  qint64 at;  // milliseconds since the recorder was made
};

// Records every key press that reaches the widgets it watches.
class PressRecorder final : public QObject {
 public:
  PressRecorder() { clock_.start(); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      presses.push_back({key->key(), key->modifiers(), key->text(), clock_.elapsed()});
    }
    return false;
  }
  std::vector<Press> presses;

 private:
  QElapsedTimer clock_;
};

// Two boxes on a shown, active window; Enter in the first moves to the second.
class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window);
    first = new QLineEdit(&window);
    second = new QLineEdit(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    QObject::connect(first, &QLineEdit::returnPressed, second, [this] { second->setFocus(); });
    first->installEventFilter(&recorder);
    second->installEventFilter(&recorder);
    ASSERT_TRUE(show_active(window));
    first->setFocus();
  }

  PressRecorder recorder;
  std::vector<Press>& presses = recorder.presses;
  QWidget window;
  QLineEdit* first = nullptr;
  QLineEdit* second = nullptr;
};

TEST_F(Keyboard, TextOfAnyScriptArrivesWhole) {
  // Latin, Chinese, Cyrillic, and a character outside the Basic Multilingual Plane that
  // takes two UTF-16 units but is one key.
  const QString text = QStringLiteral("Tea 可乐 Жук 𠮷1.5");
  type_into(first, text);
  EXPECT_EQ(first->text(), text);
  EXPECT_EQ(presses.size(), static_cast<size_t>(text.toUcs4().size()));
  commit_into(second, QStringLiteral("八个中文"));
  EXPECT_EQ(second->text(), QStringLiteral("八个中文"));
}

TEST_F(Keyboard, AsciiCarriesItsKeyCodeOtherCharactersOnlyTheirText) {
  type_text(QStringLiteral("a1.可"));
  ASSERT_EQ(presses.size(), 4u);
  EXPECT_EQ(presses[0].key, Qt::Key_A);
  EXPECT_EQ(presses[1].key, Qt::Key_1);
  EXPECT_EQ(presses[2].key, Qt::Key_Period);
  EXPECT_EQ(presses[3].key, Qt::Key_unknown);
  EXPECT_EQ(presses[3].text, QStringLiteral("可"));
  for (const Press& press : presses) EXPECT_EQ(press.modifiers, Qt::NoModifier);
}

TEST_F(Keyboard, TypingFollowsTheFocusThroughEnter) {
  type_text(QStringLiteral("可乐\n2.5"));
  EXPECT_EQ(first->text(), QStringLiteral("可乐"));
  EXPECT_EQ(second->text(), QStringLiteral("2.5"));
  EXPECT_EQ(focused(), second);
  press_tab();
  EXPECT_NE(focused(), second);
}

TEST_F(Keyboard, KeysWithModifiersAndTheEditingKeys) {
  type_text(QStringLiteral("可乐汽水"));
  press_key(Qt::Key_A, Qt::ControlModifier);  // select all
  EXPECT_EQ(first->selectedText(), QStringLiteral("可乐汽水"));
  ASSERT_FALSE(presses.empty());
  EXPECT_EQ(presses.back().modifiers, Qt::ControlModifier);
  press_key(Qt::Key_End);
  press_backspace();
  EXPECT_EQ(first->text(), QStringLiteral("可乐汽"));
  press_key(Qt::Key_Home);
  press_delete();
  EXPECT_EQ(first->text(), QStringLiteral("乐汽"));
  press_key(first, Qt::Key_F, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(presses.back().modifiers, Qt::AltModifier | Qt::ShiftModifier);
  press_enter();
  EXPECT_EQ(focused(), second);
}

TEST_F(Keyboard, X11KeysCarryTheirControlCharacters) {
  type_text(QStringLiteral("可乐汽水"));
  press_x11_key(first, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(presses.back().text, QStringLiteral("\x01"));
  EXPECT_EQ(first->selectedText(), QStringLiteral("可乐汽水"));
  press_key(Qt::Key_Home);
  press_x11_key(first, Qt::Key_Delete);
  EXPECT_EQ(presses.back().text, QStringLiteral("\x7f"));
  EXPECT_EQ(presses.back().key, Qt::Key_Delete);
  EXPECT_EQ(first->text(), QStringLiteral("乐汽水"));
  press_x11_key(first, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_TRUE(presses.back().text.isEmpty());
}

// A scanner's pace: the event loop turns between the keys and they are at least the
// pause apart (only a lower bound: a slow machine makes the gaps longer, never shorter).
TEST_F(Keyboard, APauseBetweenKeysLetsTheEventLoopRun) {
  int turns = 0;
  QTimer turn;
  QObject::connect(&turn, &QTimer::timeout, [&turns] { ++turns; });
  turn.start(0);
  type_into(first, QStringLiteral("69012"), 20ms);
  turn.stop();
  EXPECT_EQ(first->text(), QStringLiteral("69012"));
  ASSERT_EQ(presses.size(), 5u);
  for (size_t i = 1; i < presses.size(); ++i) EXPECT_GE(presses[i].at - presses[i - 1].at, 20) << "key " << i;
  EXPECT_GE(turns, 4);

  presses.clear();
  turns = 0;
  turn.start(0);
  type_into(second, QStringLiteral("69012"));
  turn.stop();
  EXPECT_EQ(turns, 0);  // without a pause the keys come at once
}

TEST_F(Keyboard, KeysWithoutAWidgetFailTheTest) {
  window.hide();
  ASSERT_EQ(focused(), nullptr);
  EXPECT_NONFATAL_FAILURE(type_text(QStringLiteral("1")), "no widget has the keyboard focus");
  EXPECT_NONFATAL_FAILURE(press_enter(), "no widget has the keyboard focus");
  EXPECT_NONFATAL_FAILURE(commit_text(QStringLiteral("可")), "no widget has the keyboard focus");
  EXPECT_NONFATAL_FAILURE(type_into(nullptr, QStringLiteral("1")), "typing into no widget");
}

}  // namespace
}  // namespace tavuro::testing
