#include "core/FormatSettings.h"
#include "tracker/CountDownModel.h"

#include "../support/FakeClock.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using State = tracker::CountDownModel::State;
using tracker::CountDownModel;

class CountDownTest : public ::testing::Test {
 protected:
  void SetUp() override { core::FormatSettings::SetCurrent(core::FormatSettings::Defaults()); }
  testing_support::FakeClock clock_{QDateTime(QDate(2001, 3, 7), QTime(14, 30, 20))};
  CountDownModel model_{clock_};
};

// Minutes from 0 to 255 start; anything else is refused (the caller beeps) and stays idle.
TEST_F(CountDownTest, MinutesInput) {
  struct C {
    const char* minutes;
    bool starts;
  } cases[] = {{"0", true},    {"255", true},  {"256", false}, {"-1", false},
               {"abc", false}, {"1.5", false}, {" 7 ", true}};
  for (const C& c : cases) {
    SCOPED_TRACE(c.minutes);
    model_.Stop();
    EXPECT_EQ(model_.Start({}, {}, QString::fromLatin1(c.minutes)), c.starts);
    EXPECT_EQ(model_.state(), c.starts ? State::Running : State::Idle);
  }
}

// Zero minutes rings at the first tick; the ringing blinks the comment or the run-out text.
TEST_F(CountDownTest, ZeroMinutesRingsAtOnce) {
  ASSERT_TRUE(model_.Start({}, {}, QStringLiteral("0")));
  EXPECT_EQ(model_.TimerInterval(), 1000);
  clock_.Advance(1000ms);
  const auto run = model_.RunStep();
  EXPECT_TRUE(run.ranOut);
  EXPECT_EQ(model_.state(), State::Ringing);
  EXPECT_FALSE(model_.CountDownActive());
  EXPECT_EQ(model_.TimerInterval(), 600);
  EXPECT_EQ(model_.RingStep(QString(), QStringLiteral("Time is up!")),
            QStringLiteral("Time is up!"));
  EXPECT_EQ(model_.RingStep(QString(), QStringLiteral("Time is up!")), QString());
  EXPECT_EQ(model_.RingStep(QStringLiteral("tea"), QStringLiteral("Time is up!")),
            QStringLiteral("tea"));
}

// At 14:30 an alarm for the current minute or an earlier one is for tomorrow; a later one for
// today; hour 24 and minute 60 are refused.
TEST_F(CountDownTest, AlarmTimes) {
  struct C {
    const char* hour;
    const char* minute;
    std::optional<QDateTime> alarm;
  } cases[] = {
      {"14", "30", QDateTime(QDate(2001, 3, 8), QTime(14, 30))},
      {"14", "29", QDateTime(QDate(2001, 3, 8), QTime(14, 29))},
      {"14", "31", QDateTime(QDate(2001, 3, 7), QTime(14, 31))},
      {"9", "0", QDateTime(QDate(2001, 3, 8), QTime(9, 0))},
      {"23", "59", QDateTime(QDate(2001, 3, 7), QTime(23, 59))},
      {"24", "0", std::nullopt},
      {"14", "60", std::nullopt},
      {"", "31", std::nullopt},
      {"x", "31", std::nullopt},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(std::string(c.hour) + ":" + c.minute);
    model_.Stop();
    const bool started =
        model_.Start(QString::fromLatin1(c.hour), QString::fromLatin1(c.minute), {});
    ASSERT_EQ(started, c.alarm.has_value());
    if (started) {
      EXPECT_EQ(model_.AlarmTime(), *c.alarm);
    }
  }
}

// A countdown keeps its length across a clock change; an alarm keeps to the wall clock.
TEST_F(CountDownTest, CountdownIgnoresClockJumps) {
  ASSERT_TRUE(model_.Start({}, {}, QStringLiteral("2")));
  clock_.SetWallClock(clock_.Now().addSecs(3600));
  clock_.Advance(60s);
  EXPECT_NEAR(model_.RunStep().left * 86400, 60, 1e-6);
  clock_.Advance(60s);
  EXPECT_TRUE(model_.RunStep().ranOut);

  model_.Stop();
  ASSERT_TRUE(model_.Start(QStringLiteral("16"), QStringLiteral("0"), {}));
  clock_.SetWallClock(QDateTime(QDate(2001, 3, 7), QTime(16, 0)));
  EXPECT_TRUE(model_.RunStep().ranOut);
}

// Stop ends both running and ringing.
TEST_F(CountDownTest, StopInBothStates) {
  ASSERT_TRUE(model_.Start({}, {}, QStringLiteral("5")));
  EXPECT_FALSE(model_.CanStart({}, {}, QStringLiteral("5")));
  model_.Stop();
  EXPECT_EQ(model_.state(), State::Idle);
  EXPECT_EQ(model_.TimerInterval(), 0);
  ASSERT_TRUE(model_.Start({}, {}, QStringLiteral("0")));
  model_.RunStep();
  ASSERT_EQ(model_.state(), State::Ringing);
  EXPECT_FALSE(model_.CanStart({}, {}, QStringLiteral("5")));
  model_.Stop();
  EXPECT_EQ(model_.state(), State::Idle);
  EXPECT_TRUE(model_.CanStart({}, {}, QStringLiteral("5")));
  EXPECT_TRUE(model_.CanStart(QStringLiteral("1"), QStringLiteral("2"), {}));
  EXPECT_FALSE(model_.CanStart(QStringLiteral("1"), {}, {}));
}

// The tray hint puts the counted user and total in front, then the comment or the service.
TEST(CountDownTexts, TrayHint) {
  core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
  const double left = 90.0 / 86400;
  EXPECT_EQ(CountDownModel::TrayHint(QStringLiteral("anna 01:00:00"), QStringLiteral("tea"),
                                     QStringLiteral("Count Down"), left),
            QStringLiteral("anna 01:00:00    tea 00:01:30"));
  EXPECT_EQ(CountDownModel::TrayHint(QString(), QString(), QStringLiteral("Count Down"), left),
            QStringLiteral("    Count Down: 00:01:30"));
}

// The tray menu item tells what was set.
TEST(CountDownTexts, MenuCaption) {
  const QString service = QStringLiteral("Count Down");
  EXPECT_EQ(CountDownModel::MenuCaption(QStringLiteral("7"), QStringLiteral("5"), {}, service),
            QStringLiteral("Alarm at: 07:05"));
  EXPECT_EQ(CountDownModel::MenuCaption({}, {}, QStringLiteral("25"), service),
            QStringLiteral("Count Down: 25"));
  EXPECT_EQ(CountDownModel::MenuCaption(QStringLiteral("7"), {}, {}, service),
            QStringLiteral("Choose time..."));
  EXPECT_EQ(CountDownModel::MenuCaption({}, {}, {}, service), QStringLiteral("Choose time..."));
}

}  // namespace
