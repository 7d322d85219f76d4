#include "StatisticsFixture.h"
#include "localisation/LangString.h"

namespace {

using namespace statistics_test;
using statistics::StatisticModel;

constexpr double kHour = 1.0 / 24;

// Records what the progress window is told, and cancels at a chosen position.
class RecordingProgress : public statistics::ProgressHook {
 public:
  explicit RecordingProgress(int cancelAt = -1) : cancelAt_(cancelAt) {}
  void SetText(const QString& text) override { text_ = text; }
  void SetRange(int minimum, int maximum) override {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  void SetPosition(int position) override { positions_.push_back(position); }
  void ProcessEvents() override { ++events_; }
  bool Cancelled() override { return !positions_.empty() && positions_.back() == cancelAt_; }

  int cancelAt_;
  QString text_;
  int minimum_ = -1, maximum_ = -1, events_ = 0;
  std::vector<int> positions_;
};

class TaskTotalsTest : public StatisticsTest {
 protected:
  static QStringList Names(const StatisticModel& model) {
    QStringList names;
    for (const auto& t : model.taskTotals()) names << t.name + u'@' + t.application;
    return names;
  }
};

// Each exact name is summed once, over all of its applications, even where the lines of a name
// that differs only in case lie between them; the largest total comes first.
TEST_F(TaskTotalsTest, EachNameOnceLargestFirst) {
  StatisticModel model = Model();
  model.SetDates({2024, 3, 4}, {2024, 3, 11});
  RecordingProgress progress;
  const double grand = model.CollectTaskTotals(progress);
  EXPECT_NEAR(grand, 9.25 * kHour, 1e-9);
  EXPECT_EQ(Names(model), QStringList({S("Editor@/usr/bin/emacs"), S("Browser@/usr/bin/chromium"),
                                       S("Monitor@/usr/bin/top"), S("editor@/opt/nano")}));
  EXPECT_EQ(model.slTaskDetail(), QStringList({S("0.16667\tEditor"), S("0.10417\tBrowser"),
                                               S("0.08333\tMonitor"), S("0.03125\teditor")}));
  EXPECT_EQ(model.slTmpSorted(),
            QStringList({S("0.03125\teditor\t/opt/nano"), S("0.08333\tMonitor\t/usr/bin/top"),
                         S("0.10417\tBrowser\t/usr/bin/chromium"),
                         S("0.16667\tEditor\t/usr/bin/emacs")}));
  EXPECT_EQ(progress.text_, localisation::LangString(151));
  EXPECT_EQ(progress.minimum_, 0);
  EXPECT_EQ(progress.maximum_, 7);
  EXPECT_EQ(progress.positions_, std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(progress.events_, 8);
}

// Totals of ten days and more sort by their size, not by their text; equal totals go in
// descending order of the name.
TEST_F(TaskTotalsTest, OrderByNumber) {
  QByteArray store, catalogue =
                        "/bin/long\tLong\t1\r\n/bin/mid\tMid\t1\r\n/bin/short\tShort\t1\r\n"
                        "/bin/a\tAlpha\t2\r\n/bin/b\tBeta\t2\r\n";
  for (int d = 1; d <= 11; ++d) {
    store += "[anna\t2024_5_" + QByteArray::number(d) + "]\r\n/bin/long=23:00:00\r\n";
    if (d <= 3) store += "/bin/mid=20:00:00\r\n";
    if (d <= 2) store += "/bin/short=22:48:00\r\n";
    if (d == 1) store += "/bin/a=01:00:00\r\n/bin/b=01:00:00\r\n";
  }
  StatisticModel model(Write("hg20work.txt", store));
  model.BuildTaskLists(Catalogue(Write("hg20task.txt", catalogue)).lines());
  model.SetUser(S("anna"));
  model.SetDates({2024, 5, 1}, {2024, 5, 31});
  RecordingProgress progress;
  model.CollectTaskTotals(progress);
  EXPECT_EQ(model.slTaskDetail(),
            QStringList({S("10.54167\tLong"), S("2.50000\tMid"), S("1.90000\tShort"),
                         S("0.04167\tBeta"), S("0.04167\tAlpha")}));
  EXPECT_EQ(StatisticModel::PeriodTotalText(model.taskTotals()[0].total),
            S("10 ") + localisation::LangString(147) + S(" 13:00"));
}

// Cancelling keeps what was gathered, stops the walk and goes back to the table page.
TEST_F(TaskTotalsTest, CancelKeepsTheTotalsSoFar) {
  StatisticModel model = Model();
  int tablePage = 0;
  model.SetHooks({.showTablePage = [&] { ++tablePage; }});
  model.SetDates({2024, 3, 4}, {2024, 3, 11});
  RecordingProgress progress(3);
  const double grand = model.CollectTaskTotals(progress);
  EXPECT_EQ(tablePage, 1);
  EXPECT_EQ(progress.positions_.back(), 3);
  EXPECT_EQ(Names(model), QStringList({S("Browser@/usr/bin/chromium"), S("editor@/opt/nano")}));
  EXPECT_NEAR(grand, 3.25 * kHour, 1e-9);
}

// Without tasks or without time there is nothing to list.
TEST_F(TaskTotalsTest, Empty) {
  StatisticModel model(dir_.filePath(S("hg20work.txt")));
  model.SetDates({2024, 3, 4}, {2024, 3, 11});
  RecordingProgress progress;
  EXPECT_EQ(model.CollectTaskTotals(progress), 0);
  EXPECT_EQ(progress.maximum_, 0);
  EXPECT_TRUE(model.slTaskDetail().isEmpty());
  model.BuildTaskLists(Catalogue().lines());
  EXPECT_EQ(model.CollectTaskTotals(progress), 0);
  EXPECT_TRUE(model.taskTotals().empty());
}

}  // namespace
