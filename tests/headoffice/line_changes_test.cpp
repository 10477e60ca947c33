// What a run of journal entries leaves of the sale lines, and the fen the reports count.

#include "headoffice/line_changes.h"
#include "sales/journal_entry.h"
#include "store/schemas.h"

#include <gtest/gtest.h>

namespace tavuro::headoffice {
namespace {

store::JournalEntry entry(const QString& file, qint64 record, const QString& kind, const QString& after) {
  store::JournalEntry e;
  e.file = file;
  e.record = record;
  e.kind = kind;
  e.after = after;
  return e;
}

QString fields(const QString& amount) {
  return sales::fields_text({store::day::kGoods, store::day::kAmount}, {QStringLiteral("苹果"), amount});
}

TEST(LineChanges, EachRecordEndsInItsLastStateInTheOrderFirstTouched) {
  const std::vector<LineState> states = final_line_states({
      entry(QStringLiteral("1.day"), 1, sales::kRecordedKind, fields(QStringLiteral("1.00"))),
      entry(QStringLiteral("1.day"), 2, sales::kRecordedKind, fields(QStringLiteral("2.00"))),
      entry(QStringLiteral("shop.dat"), 1, sales::kGoodsKind, QStringLiteral("商品=苹果")),
      entry(QStringLiteral("1.day"), 1, sales::kEditedKind, fields(QStringLiteral("1.50"))),
      entry(QStringLiteral("1.day"), 2, sales::kDeletedKind, QString()),
      entry(QStringLiteral("2.day"), 2, sales::kRecordedKind, fields(QStringLiteral("7.00"))),
  });
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[0].key, (LineKey{QStringLiteral("1.day"), 1}));
  ASSERT_TRUE(states[0].fields);
  EXPECT_EQ(states[0].fields->at(0), QStringLiteral("苹果"));
  EXPECT_EQ(states[0].fields->at(3), QStringLiteral("1.50"));
  EXPECT_EQ(states[0].fields->size(), store::day_schema().names().size());
  EXPECT_EQ(states[1].key, (LineKey{QStringLiteral("1.day"), 2}));
  EXPECT_FALSE(states[1].fields);
  // The same record id in another day file is another line.
  EXPECT_EQ(states[2].key, (LineKey{QStringLiteral("2.day"), 2}));
}

TEST(LineChanges, AnOldFileEntryBringsEveryRecordItHolds) {
  const QString old = sales::old_records_text({{4, fields(QStringLiteral("4.00"))}, {9, fields(QStringLiteral("9.00"))}});
  const std::vector<LineState> states = final_line_states({entry(QStringLiteral("3.day"), 0, sales::kOldFileKind, old)});
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].key.record, 4);
  EXPECT_EQ(states[1].key.record, 9);
  EXPECT_EQ(states[1].fields->at(3), QStringLiteral("9.00"));
}

TEST(LineChanges, FenCountBlankAsZeroAndRefuseWhatIsNoNumber) {
  EXPECT_EQ(counted_fen(QStringLiteral("12.34")), 1234);
  EXPECT_EQ(counted_fen(QStringLiteral(" -0.50")), -50);
  EXPECT_EQ(counted_fen(QStringLiteral("   ")), 0);
  EXPECT_EQ(counted_fen(QStringLiteral("十二")), std::nullopt);
  // Only spaces are blank, as in the reports' sums.
  EXPECT_EQ(counted_fen(QStringLiteral("\t")), std::nullopt);
}

}  // namespace
}  // namespace tavuro::headoffice
