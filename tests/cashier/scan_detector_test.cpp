// Telling a scan from typing by the event times of the keys alone.

#include "cashier/scan_detector.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavuro::cashier {
namespace {

using Kind = ScanKey::Kind;

ScanKey digit(char c, quint64 at) { return {Kind::Digit, QLatin1Char(c), at}; }
ScanKey enter(quint64 at) { return {Kind::Enter, QChar(), at}; }

// Presses the digits of text gap_ms apart from start, then Enter gap_ms later; the steps.
std::vector<ScanStep> keys(ScanDetector& detector, const char* text, quint64 start, quint64 gap_ms) {
  std::vector<ScanStep> steps;
  quint64 at = start;
  for (const char* c = text; *c != '\0'; ++c, at += gap_ms) steps.push_back(detector.press(digit(*c, at)));
  steps.push_back(detector.press(enter(at)));
  return steps;
}

TEST(ScanDetector, SixFastDigitsAndEnterAreAScanFewerOrSlowerAreNot) {
  ScanDetector detector;
  const std::vector<ScanStep> scan = keys(detector, "400638", 1000, 5);
  EXPECT_EQ(scan.front(), ScanStep::Started);
  EXPECT_EQ(scan[1], ScanStep::Continued);
  EXPECT_EQ(scan.back(), ScanStep::Scanned);
  EXPECT_EQ(detector.code(), QStringLiteral("400638"));

  EXPECT_EQ(keys(detector, "40063", 2000, 5).back(), ScanStep::None) << "five digits";
  EXPECT_EQ(keys(detector, "4006381333931", 3000, 49).back(), ScanStep::Scanned) << "49 ms apart";
  EXPECT_EQ(detector.code(), QStringLiteral("4006381333931"));
  EXPECT_EQ(keys(detector, "4006381333931", 5000, 50).back(), ScanStep::None) << "50 ms apart is a person";
  EXPECT_EQ(detector.code(), QStringLiteral("4006381333931")) << "the last scan's code stays";
}

TEST(ScanDetector, ASlowEnterOrAnyOtherKeyEndsTheRun) {
  ScanDetector detector;
  for (const char c : {'1', '2', '3', '4', '5', '6'}) detector.press(digit(c, 100 + static_cast<quint64>(c - '0')));
  EXPECT_EQ(detector.press(enter(200)), ScanStep::None) << "Enter long after the digits";

  for (int i = 0; i < 6; ++i) detector.press(digit('7', 300 + static_cast<quint64>(i)));
  detector.press({Kind::Other, QChar(), 307});
  EXPECT_EQ(detector.press(digit('8', 308)), ScanStep::Started) << "a letter between the digits";
  EXPECT_EQ(detector.press(enter(309)), ScanStep::None);
}

TEST(ScanDetector, AScanRightAfterAPersonsDigitTakesOnlyTheScannedDigits) {
  ScanDetector detector;
  EXPECT_EQ(detector.press(digit('9', 1000)), ScanStep::Started);  // typed by the cashier
  const std::vector<ScanStep> scan = keys(detector, "73513537", 1400, 4);
  EXPECT_EQ(scan.front(), ScanStep::Started);
  EXPECT_EQ(scan.back(), ScanStep::Scanned);
  EXPECT_EQ(detector.code(), QStringLiteral("73513537"));
}

TEST(ScanDetector, KeysWithoutAnEventTimeOrWithTimeGoingBackAreNeverAScan) {
  ScanDetector detector;
  EXPECT_EQ(keys(detector, "123456", 0, 0).back(), ScanStep::None) << "no event times (synthesised keys)";
  // Three digits, then three whose times went back: no run of six.
  for (const char c : {'1', '2', '3'}) detector.press(digit(c, 5000 + static_cast<quint64>(c - '0')));
  EXPECT_EQ(detector.press(digit('4', 4000)), ScanStep::Started);
  for (const char c : {'5', '6'}) detector.press(digit(c, 4000 + static_cast<quint64>(c - '0')));
  EXPECT_EQ(detector.press(enter(4010)), ScanStep::None);
}

}  // namespace
}  // namespace tavuro::cashier
