#pragma once
// The cashier window on a shop in a temporary directory, with scripted dialogs, shown and
// active on the offscreen screen so that focus moves as with a user.

#include "cashier/frm_shop.h"
#include "cashier/sale_entry_panel.h"
#include "cashier/today_panel.h"
#include "platform/line_printer.h"
#include "support/keyboard.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "support/waiting.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace tavuro::testing {

class CashierWindow {
 public:
  CashierWindow() { shop.start_up(); }

  // Creates and shows the window (after the test has prepared the files).
  cashier::Frm_shop& open();

  template <typename T>
  T* find(const QString& name) const {
    T* child = window->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
  }
  QPushButton* button(const char* name) const { return find<QPushButton>(QString::fromUtf8(name)); }
  QLineEdit* text(const char* name) const { return find<QLineEdit>(QString::fromUtf8(name)); }
  QComboBox* combo(const char* name) const { return find<QComboBox>(QString::fromUtf8(name)); }
  QLabel* label(const char* name) const { return find<QLabel>(QString::fromUtf8(name)); }
  QListWidget* list(const char* name) const { return find<QListWidget>(QString::fromUtf8(name)); }
  QAction* action(const char* name) const { return find<QAction>(QString::fromUtf8(name)); }
  QStringList lines(const char* list_name) const;
  QWidget* focused() const;

  ShopFixture shop;
  ScriptedDialogs dialogs;
  std::unique_ptr<cashier::Frm_shop> window;
};

// A printer that never prints: no printer installed, or the job did not start.
class NoPrinter final : public platform::LinePrinter {
 public:
  void set_font_size(int) override {}
  void print_line(const QString&) override {}
  bool end_doc() override { return false; }
};

}  // namespace tavuro::testing
