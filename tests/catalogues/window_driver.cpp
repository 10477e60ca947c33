#include "window_driver.h"

#include <QListWidget>
#include <QTest>

namespace tavuro::testing {

void click(QWidget* button) {
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

void click_line(QListWidget* list, int row) {
  ASSERT_NE(list, nullptr);
  ASSERT_LT(row, list->count());
  QListWidgetItem* item = list->item(row);
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QStringList stored_names(const ShopFixture& shop, const QString& path) {
  QStringList names;
  for (const auto& record : shop.records(path)) names << record.value(store::kNameField);
  return names;
}

QStringList lines(const QListWidget* list) {
  QStringList result;
  for (int i = 0; i < list->count(); ++i) result << list->item(i)->text();
  return result;
}

}  // namespace tavuro::testing
