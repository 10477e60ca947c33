#pragma once

#include "support/modal_windows.h"
// Driving the catalogue windows offscreen: a cashier window stand-in that records what it
// was asked, and the clicks of a user (the keys are in support/keyboard.h).

#include "startup/app_state.h"
#include "startup/cashier_link.h"
#include "support/keyboard.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

class QListWidget;

namespace tavuro::testing {

class FakeCashier final : public startup::CashierLink {
 public:
  void read_shop_file() override { calls << QStringLiteral("read_shop_file"); }
  void read_usefile() override { calls << QStringLiteral("read_usefile"); }
  // Marked with "+" while the customer-registered flag is set.
  void read_KeFu_file() override {
    calls << QStringLiteral("read_KeFu_file") +
                 (state != nullptr && state->customer_registered ? QStringLiteral("+") : QString());
  }
  void read_myfile() override { calls << QStringLiteral("read_myfile"); }
  void set_goods_text(const QString& text) override { calls << QStringLiteral("setGoodsText:") + text; }

  QStringList calls;
  const startup::AppState* state = nullptr;
};

void click(QWidget* button);
void click_line(QListWidget* list, int row);
QStringList lines(const QListWidget* list);

template <class T>
T* child(const QWidget& window, const QString& name) {
  T* found = window.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name.toStdString();
  return found;
}

// The names of use.dat or kefu.dat, in stored order.
QStringList stored_names(const ShopFixture& shop, const QString& path);

// A catalogue window W on a started shop, with scripted dialogs and a stand-in cashier.
template <class W>
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { shop.start_up(); }
  // Creates the window unless the test has, shows it and makes it active.
  W& show() {
    if (!window) window = std::make_unique<W>(shop.state, cashier);
    show_active(*window);
    return *window;
  }
  template <class T>
  T* control(const char* name) const {
    return child<T>(*window, QString::fromUtf8(name));
  }

  ShopFixture shop;
  ScriptedDialogs dialogs;
  FakeCashier cashier;
  std::unique_ptr<W> window;
};

}  // namespace tavuro::testing
