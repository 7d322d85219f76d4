#include "core/Durations.h"
#include "core/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

using core::FormatDuration;
using core::FormatDurationHM;
using core::FormatPositiveDurationHM;

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = kHour / 60;
constexpr double kSec = kMinute / 60;

class DurationsTest : public ::testing::Test {
 protected:
  void SetUp() override { core::FormatSettings::SetCurrent(core::FormatSettings::Defaults()); }
  void TearDown() override { core::FormatSettings::SetCurrent(core::FormatSettings::Defaults()); }
};

struct Case {
  const char* what;
  double days;
  const char* seconds;
  const char* minutes;
  const char* positive;
};

// The three texts of a duration, including the shapes the store depends on.
TEST_F(DurationsTest, FormsOfOneDuration) {
  const Case cases[] = {
      {"zero", 0, "00:00:00", "00:00", ""},
      {"negative", -kSec, "", "", ""},
      {"fraction of a second is dropped", kHour + 2 * kMinute + 3.5 * kSec, "01:02:03", "01:02",
       "01:02"},
      {"seconds never round up the minutes", 59.9 * kSec, "00:00:59", "00:00", "00:00"},
      {"one and a half days", 1.5, "36:00:00", "36:00", "36:00"},
      {"25 hours 5 minutes", 25 * kHour + 5 * kMinute, "25:05:00", "25:05", "25:05"},
      {"exactly one day", 1.0, "24:00:00", "24:00", "24:00"},
      {"a hair below one day carries instead of wrapping", 1.0 - 1e-12, "24:00:00", "24:00",
       "24:00"},
      {"many days", 10 * 1.0 + kHour, "241:00:00", "241:00", "241:00"},
      {"one second", kSec, "00:00:01", "00:00", "00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FormatDuration(c.days), QString::fromLatin1(c.seconds));
    EXPECT_EQ(FormatDurationHM(c.days), QString::fromLatin1(c.minutes));
    EXPECT_EQ(FormatPositiveDurationHM(c.days), QString::fromLatin1(c.positive));
  }
}

// The texts follow the process's current time separator, never a fixed ":".
TEST_F(DurationsTest, UsesCurrentTimeSeparator) {
  auto s = core::FormatSettings::Defaults();
  s.timeSeparator = u'.';
  core::FormatSettings::SetCurrent(s);
  EXPECT_EQ(FormatDuration(kHour), QStringLiteral("01.00.00"));
  EXPECT_EQ(FormatDurationHM(1.5), QStringLiteral("36.00"));
}

// Stored times stay readable after the separator changed, and hours past 23 are kept.
TEST_F(DurationsTest, ParsesStoredTimesTolerantly) {
  auto s = core::FormatSettings::Defaults();
  s.timeSeparator = u'h';
  core::FormatSettings::SetCurrent(s);
  struct P {
    const char* text;
    std::optional<double> seconds;
  } cases[] = {
      {"01:02:03", 3723},         {"01.02.03", 3723},
      {"01h02h03", 3723},         {"36:00:00", 129600},
      {"100:00", 360000},         {"0", 0},
      {" 00:00:01 ", 1},          {"", std::nullopt},
      {"01:60:00", std::nullopt}, {"01:02:03:04", std::nullopt},
      {"1:2.3", std::nullopt},    {"ab:cd", std::nullopt},
      {"-1:00", std::nullopt},
  };
  for (const P& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = core::ParseDuration(QString::fromLatin1(c.text));
    ASSERT_EQ(parsed.has_value(), c.seconds.has_value());
    if (parsed) {
      EXPECT_NEAR(*parsed * 86400, *c.seconds, 1e-6);
    }
  }
}

// What is written is read back to the same second.
TEST_F(DurationsTest, RoundTripsThroughText) {
  for (double seconds : {0.0, 1.0, 59.0, 3599.0, 86399.0, 86400.0, 400000.0}) {
    SCOPED_TRACE(seconds);
    EXPECT_NEAR(*core::ParseDuration(FormatDuration(seconds * kSec)) * 86400, seconds, 1e-6);
  }
}

}  // namespace
