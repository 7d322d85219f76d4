// horalog-report, run as a program on small stores.
#include "core/FormatSettings.h"
#include "options/TaskCatalogue.h"
#include "tracker/StatisticsStore.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

QString Fixtures() {
  return qEnvironmentVariable("HORALOG_TEST_SOURCE") + QStringLiteral("/statistics/fixtures");
}

struct ReportRun {
  int status = -1;
  QString out, err;
  QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

ReportRun Report(QStringList arguments, const QString& data = Fixtures()) {
  if (!data.isEmpty()) arguments << S("--data") << data;
  QProcess p;
  p.start(qEnvironmentVariable("HORALOG_BIN") + QStringLiteral("/horalog-report"), arguments);
  EXPECT_TRUE(p.waitForFinished(30000));
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

QStringList Week(const char* from, const char* to) {
  return {S("week"), S("--user"), S("anna"), S("--from"), S(from), S("--to"), S(to)};
}

// The users list is the tracker's: one name per user in any case, no section without a TAB.
TEST(HoralogReportTest, Users) {
  const ReportRun run = Report({S("users"), S("--json")});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, S("{\"users\": [\"anna\", \"bob\"]}\n"));
  EXPECT_EQ(Report({S("users")}).out, S("anna\nbob\n"));
}

// The JSON of the week: fields in their documented order, every day, every row, seconds.
TEST(HoralogReportTest, WeekJson) {
  const ReportRun run =
      Report(Week("2024-03-10", "2024-03-11") << S("--compare") << S("2") << S("--json"));
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, S("{\"user\": \"anna\", \"from\": \"2024-03-10\", \"to\": \"2024-03-11\", "
                       "\"weekStart\": \"monday\", \"task\": \"total\", \"compare\": \"2\", "
                       "\"periodDays\": 2, \"firstColumn\": 6, \"rows\": 2, \"days\": ["
                       "{\"date\": \"2024-03-10\", \"row\": 0, \"column\": 6, \"seconds1\": 7200, "
                       "\"seconds2\": 0}, "
                       "{\"date\": \"2024-03-11\", \"row\": 1, \"column\": 0, \"seconds1\": 3600, "
                       "\"seconds2\": 3600}], "
                       "\"weeks\": [{\"row\": 0, \"seconds1\": 7200, \"seconds2\": 0}, "
                       "{\"row\": 1, \"seconds1\": 3600, \"seconds2\": 3600}], "
                       "\"total1\": 10800, \"total2\": 3600, \"percent\": 33.33}\n"));
}

// Period options give the window's periods; the percentage is null without a quotient.
TEST(HoralogReportTest, WeekPeriods) {
  struct C {
    const char* what;
    QStringList arguments;
    const char* from;
    const char* to;
    int periodDays, firstColumn, rows;
    qint64 total1;
    QJsonValue percent;
  } cases[] = {
      {"end before start", Week("2024-03-11", "2024-03-05"), "2024-03-05", "2024-03-05", 1, 1, 1,
       14400, QJsonValue::Null},
      {"month on 15 March of a leap year",
       {S("week"), S("--user"), S("anna"), S("--period"), S("month"), S("--until"),
        S("2024-03-15")},
       "2024-02-16",
       "2024-03-15",
       29,
       4,
       5,
       54000,
       QJsonValue::Null},
      {"week, Sunday rows",
       {S("week"), S("--user"), S("anna"), S("--period=week"), S("--until=2024-03-10"),
        S("--week-start"), S("sunday")},
       "2024-03-04",
       "2024-03-10",
       7,
       1,
       2,
       50400,
       QJsonValue::Null},
      {"zero main total",
       Week("2024-03-04", "2024-03-10") << S("--task") << S("Steam") << S("--compare") << S("2"),
       "2024-03-04", "2024-03-10", 7, 0, 1, 0, QJsonValue::Null},
      {"a task name",
       Week("2024-03-04", "2024-03-10")
           << S("--task") << S("Editor") << S("--compare") << S("total"),
       "2024-03-04", "2024-03-10", 7, 0, 1, 14400, 350.0},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportRun run = Report(QStringList(c.arguments) << S("--json"));
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject o = run.json();
    EXPECT_EQ(o[S("from")].toString(), S(c.from));
    EXPECT_EQ(o[S("to")].toString(), S(c.to));
    EXPECT_EQ(o[S("periodDays")].toInt(), c.periodDays);
    EXPECT_EQ(o[S("firstColumn")].toInt(), c.firstColumn);
    EXPECT_EQ(o[S("rows")].toInt(), c.rows);
    EXPECT_EQ(o[S("days")].toArray().size(), c.periodDays);
    EXPECT_EQ(o[S("weeks")].toArray().size(), c.rows);
    EXPECT_EQ(o[S("total1")].toInteger(), c.total1);
    EXPECT_EQ(o[S("percent")], c.percent);
  }
}

// The readable week shows the day labels, the week totals and the window's totals lines; CSV
// has one line per day.
TEST(HoralogReportTest, WeekTextAndCsv) {
  const ReportRun text = Report(Week("2024-03-04", "2024-03-10") << S("--compare") << S("1"));
  EXPECT_EQ(text.status, 0);
  EXPECT_TRUE(text.out.contains(S("04/03     05/03     06/03"))) << text.out.toStdString();
  EXPECT_TRUE(text.out.contains(S("08:00:00  04:00:00"))) << text.out.toStdString();
  EXPECT_TRUE(text.out.contains(S("14:00\n"))) << text.out.toStdString();
  EXPECT_TRUE(text.out.contains(S(": 04:45   (33.93%)\n"))) << text.out.toStdString();
  // A row that starts later in the week keeps its days under their titles.
  const ReportRun sunday =
      Report(Week("2024-03-04", "2024-03-10") << S("--week-start") << S("sunday"));
  EXPECT_TRUE(sunday.out.contains(S("\nSun       Mon       Tue")));
  EXPECT_TRUE(sunday.out.contains(S("\n          04/03     05/03"))) << sunday.out.toStdString();
  EXPECT_TRUE(sunday.out.contains(S("\n          08:00:00  04:00:00"))) << sunday.out.toStdString();
  const ReportRun csv = Report(Week("2024-03-04", "2024-03-10") << S("--csv"));
  EXPECT_EQ(csv.status, 0);
  const QStringList lines = csv.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 8);
  EXPECT_EQ(lines[0], S("date,row,column,seconds1,seconds2"));
  EXPECT_EQ(lines[1], S("2024-03-04,0,0,28800,0"));
}

// The detail lists every task once, largest first, with its first application.
TEST(HoralogReportTest, Detail) {
  const QStringList args = {S("detail"),     S("--user"), S("anna"),      S("--from"),
                            S("2024-03-04"), S("--to"),   S("2024-03-11")};
  const ReportRun run = Report(QStringList(args) << S("--json"));
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out,
            S("{\"user\": \"anna\", \"from\": \"2024-03-04\", \"to\": \"2024-03-11\", \"tasks\": ["
              "{\"name\": \"Editor\", \"application\": \"/usr/bin/emacs\", \"seconds\": 14400}, "
              "{\"name\": \"Browser\", \"application\": \"/usr/bin/chromium\", \"seconds\": 9000}, "
              "{\"name\": \"Monitor\", \"application\": \"/usr/bin/top\", \"seconds\": 7200}, "
              "{\"name\": \"editor\", \"application\": \"/opt/nano\", \"seconds\": 2700}, "
              "{\"name\": \"unknown_task\", \"application\": \"\", \"seconds\": 1}], "
              "\"grandTotal\": 33301}\n"));
  const ReportRun csv = Report(QStringList(args) << S("--csv"));
  EXPECT_TRUE(csv.out.startsWith(S("name,application,seconds\nEditor,/usr/bin/emacs,14400\n")));
  EXPECT_TRUE(csv.out.endsWith(S("\neditor,/opt/nano,2700\nunknown_task,,1\n")))
      << csv.out.toStdString();
  const ReportRun text = Report(args);
  EXPECT_TRUE(text.out.contains(S("\nEditor        04:00:00  /usr/bin/emacs\n")))
      << text.out.toStdString();
  EXPECT_TRUE(text.out.contains(S("\nunknown_task  00:00:01\n\nGrand total: 09:15\n")))
      << text.out.toStdString();
}

// A store edited by hand: blanks around the header and the names, a quoted time, and an
// application path with "=". Every task keeps its time, the time of no known application is
// a line of the detail, and the detail's grand total is the week's total.
TEST(HoralogReportTest, HandEditedStore) {
  const QString data = Fixtures() + S("/hand-edited");
  EXPECT_EQ(Report({S("users")}, data).out, S("zed\n"));
  const QStringList day = {S("--user"),     S("zed"),  S("--from"),
                           S("2024-03-04"), S("--to"), S("2024-03-04")};
  const ReportRun detail = Report(QStringList{S("detail")} << day << S("--json"), data);
  ASSERT_EQ(detail.status, 0) << detail.err.toStdString();
  EXPECT_EQ(detail.out,
            S("{\"user\": \"zed\", \"from\": \"2024-03-04\", \"to\": \"2024-03-04\", \"tasks\": ["
              "{\"name\": \"Calculator\", \"application\": \"/usr/bin/calc\", \"seconds\": 1800}, "
              "{\"name\": \"Editor\", \"application\": \"/opt/ed=it\", \"seconds\": 1500}, "
              "{\"name\": \"unknown_task\", \"application\": \"\", \"seconds\": 10}], "
              "\"grandTotal\": 3310}\n"));
  struct C {
    const char* task;
    qint64 seconds;
  } cases[] = {{"total", 3310}, {"1", 1500}, {"5", 1800}, {"Editor", 1500}};
  for (const C& c : cases) {
    SCOPED_TRACE(c.task);
    const ReportRun week =
        Report(QStringList{S("week")} << day << S("--task") << S(c.task) << S("--json"), data);
    ASSERT_EQ(week.status, 0) << week.err.toStdString();
    EXPECT_EQ(week.json()[S("total1")].toInteger(), c.seconds);
  }
}

// A user or a key that names nothing is an error of its own (status 1), not a table of zeros;
// a user matches in any case and without the blanks around it.
TEST(HoralogReportTest, UnknownUserOrKey) {
  struct C {
    const char* what;
    QStringList arguments;
    const char* message;
  } cases[] = {
      {"unknown user",
       {S("week"), S("--user"), S("nobody"), S("--period"), S("day")},
       "unknown user \"nobody\""},
      {"unknown user, detail",
       {S("detail"), S("--user=nobody"), S("--period=week"), S("--csv")},
       "unknown user \"nobody\""},
      {"no such group", Week("2024-03-04", "2024-03-10") << S("--task") << S("7"),
       "--task: there is no group \"7\""},
      {"the hidden group", Week("2024-03-04", "2024-03-10") << S("--task") << S("0"),
       "no group \"0\""},
      {"a group with a leading zero", Week("2024-03-04", "2024-03-10") << S("--task") << S("01"),
       "no group \"01\""},
      {"no such name", Week("2024-03-04", "2024-03-10") << S("--task") << S("Nothing"),
       "--task: no task is named \"Nothing\""},
      {"a name in another case", Week("2024-03-04", "2024-03-10") << S("--task") << S("EDITOR"),
       "no task is named \"EDITOR\""},
      {"a hidden task", Week("2024-03-04", "2024-03-10") << S("--task") << S("Secret"),
       "no task is named \"Secret\""},
      {"none as the main key", Week("2024-03-04", "2024-03-10") << S("--task") << S("none"),
       "no task is named \"none\""},
      {"no such compared group", Week("2024-03-04", "2024-03-10") << S("--compare") << S("9"),
       "--compare: there is no group \"9\""},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportRun run = Report(c.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(S(c.message))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  }
  for (const char* user : {"ANNA", " anna "}) {
    SCOPED_TRACE(user);
    const ReportRun run = Report({S("week"), S("--user"), S(user), S("--from"), S("2024-03-04"),
                                  S("--to"), S("2024-03-10"), S("--json")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json()[S("total1")].toInteger(), 14 * 3600);
  }
}

// The readable week: a week without time shows its day labels only; in a week with time both
// totals are written, so no line of times is blank and compared times stay on their own line.
TEST(HoralogReportTest, WeekTextHasNoBlankTimeLines) {
  struct C {
    const char* what;
    QStringList arguments;
    const char* text;
  } cases[] = {
      {"one key", Week("2024-02-26", "2024-03-17"),
       "anna: 26/02/2024 - 17/03/2024    total\n"
       "\n"
       "Mon       Tue       Wed       Thu       Fri       Sat       Sun       Week\n"
       "\n"
       "26/02     27/02     28/02     29/02     01/03     02/03     03/03\n"
       "\n"
       "04/03     05/03     06/03     07/03     08/03     09/03     10/03\n"
       "08:00:00  04:00:00                                          02:00:00  14:00\n"
       "\n"
       "11/03     12/03     13/03     14/03     15/03     16/03     17/03\n"
       "01:00:00                                                              01:00\n"
       "\n"
       "Total: 15:00\n"},
      {"main key without time",
       Week("2024-03-04", "2024-03-11")
           << S("--task") << S("Steam") << S("--compare") << S("total"),
       "anna: 04/03/2024 - 11/03/2024    Steam / total\n"
       "\n"
       "Mon       Tue       Wed       Thu       Fri       Sat       Sun       Week\n"
       "\n"
       "04/03     05/03     06/03     07/03     08/03     09/03     10/03\n"
       "                                                                      00:00\n"
       "08:00:00  04:00:00                                          02:00:00  14:00\n"
       "\n"
       "11/03\n"
       "                                                                      00:00\n"
       "01:00:00                                                              01:00\n"
       "\n"
       "Total: 00:00\n"
       "Compared: 15:00   ()\n"},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportRun run = Report(c.arguments);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, S(c.text));
  }
}

// --csv: a task name that starts like a spreadsheet formula gets a leading ', so that it stays
// a text; a name with such a sign further in is left as it is.
TEST(HoralogReportTest, CsvGuardsFormulas) {
  core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
  QTemporaryDir dir;
  struct C {
    const char* name;
    const char* field;
  } cases[] = {
      {"=SUM(A1:A9)", "'=SUM(A1:A9)"}, {"+1 day", "'+1 day"}, {"-rf", "'-rf"}, {"@home", "'@home"},
      {"=A1,B1", "\"'=A1,B1\""},       {"a=b+c", "a=b+c"},
  };
  QStringList dayList;
  options::TaskCatalogue catalogue;
  int seconds = 0;
  for (const C& c : cases) {
    const QString application = S("/usr/bin/app") + QString::number(++seconds);
    dayList << application + S("=00:00:0") + QString::number(seconds);
    catalogue.Add(options::TaskCatalogue::NewEntry(application, S(c.name)));
  }
  const tracker::StatisticsStore store(dir.filePath(S("hg20work.txt")));
  store.WriteDay(tracker::SectionName(S("anna"), QDate(2024, 3, 4)), S("00:00:21"), dayList);
  catalogue.Save(dir.filePath(S("hg20task.txt")));
  const ReportRun csv = Report({S("detail"), S("--user"), S("anna"), S("--from"), S("2024-03-04"),
                                S("--to"), S("2024-03-04"), S("--csv")},
                               dir.path());
  ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
  const QStringList lines = csv.out.split(u'\n', Qt::SkipEmptyParts);
  seconds = 0;
  for (const C& c : cases) {
    SCOPED_TRACE(c.name);
    ++seconds;
    EXPECT_TRUE(lines.contains(S(c.field) + S(",/usr/bin/app") + QString::number(seconds) + u',' +
                               QString::number(seconds)))
        << csv.out.toStdString();
  }
}

// Bad input is named, with status 2 and nothing on standard output.
TEST(HoralogReportTest, BadInput) {
  struct C {
    const char* what;
    QStringList arguments;
    const char* message;
  } cases[] = {
      {"no command", {}, "no command"},
      {"unknown command", {S("month")}, "unknown command"},
      {"unknown option", {S("users"), S("--verbose")}, "--verbose"},
      {"option of another command", {S("users"), S("--csv")}, "--csv"},
      {"task for the detail",
       {S("detail"), S("--user"), S("anna"), S("--period"), S("day"), S("--task"), S("1")},
       "--task"},
      {"missing user", {S("week"), S("--period"), S("day")}, "missing --user"},
      {"no such day", Week("2024-02-30", "2024-03-01"), "2024-02-30"},
      {"not ISO", Week("2024-3-4", "2024-03-05"), "2024-3-4"},
      {"no period", {S("week"), S("--user"), S("anna")}, "--period"},
      {"from without to",
       {S("week"), S("--user"), S("anna"), S("--from"), S("2024-03-04")},
       "--to"},
      {"both kinds of period", Week("2024-03-04", "2024-03-05") << S("--period") << S("day"),
       "both"},
      {"until without period", Week("2024-03-04", "2024-03-05") << S("--until=2024-03-05"),
       "--until"},
      {"bad period", {S("week"), S("--user"), S("anna"), S("--period"), S("year")}, "year"},
      {"bad week start", Week("2024-03-04", "2024-03-05") << S("--week-start=friday"), "friday"},
      {"two formats", Week("2024-03-04", "2024-03-05") << S("--json") << S("--csv"), "--csv"},
      {"value missing", {S("week"), S("--user")}, "--user needs a value"},
      {"no such folder", {S("users"), S("--data"), S("/nonexistent/horalog")}, "no folder"},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportRun run = Report(c.arguments, QString());
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(S(c.message))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  }
  const ReportRun help = Report({S("week"), S("--help")}, QString());
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.contains(S("--compare KEY")));
}

// A folder without a store has no users: an empty list, and any user is unknown.
TEST(HoralogReportTest, MissingStore) {
  QTemporaryDir empty;
  const ReportRun users = Report({S("users"), S("--json")}, empty.path());
  EXPECT_EQ(users.status, 0);
  EXPECT_EQ(users.out, S("{\"users\": []}\n"));
  const ReportRun week = Report(Week("2024-03-04", "2024-03-05") << S("--json"), empty.path());
  EXPECT_EQ(week.status, 1);
  EXPECT_TRUE(week.err.contains(S("unknown user \"anna\""))) << week.err.toStdString();
  const ReportRun detail =
      Report({S("detail"), S("--user=anna"), S("--period=week"), S("--json")}, empty.path());
  EXPECT_EQ(detail.status, 1);
  EXPECT_TRUE(detail.out.isEmpty());
}

// A store that exists but cannot be read is reported with status 1.
TEST(HoralogReportTest, UnreadableStore) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir(S("hg20work.txt")));
  const ReportRun run = Report(Week("2024-03-04", "2024-03-05"), dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains(S("hg20work.txt"))) << run.err.toStdString();
}

// Files as the tracker writes them read back through the report.
TEST(HoralogReportTest, StoreWrittenByTheTracker) {
  core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
  QTemporaryDir dir;
  const tracker::StatisticsStore store(dir.filePath(S("hg20work.txt")));
  const QString anna = S("anna smith");
  store.WriteDay(tracker::SectionName(anna, QDate(2025, 12, 31)), S("03:00:05"),
                 {S("unknown_task=00:00:05"), S("/usr/bin/vim=03:00:00")});
  store.WriteDay(tracker::SectionName(anna, QDate(2026, 1, 1)), S("01:00:00"),
                 {S("/usr/bin/vim=00:30:00"), S("/usr/bin/firefox=00:30:00")});
  options::TaskCatalogue catalogue;
  catalogue.Add(options::TaskCatalogue::NewEntry(S("/usr/bin/vim"), S("Editor")));
  catalogue.Add(options::TaskCatalogue::NewEntry(S("/usr/bin/firefox"), S("Browser")));
  catalogue.Save(dir.filePath(S("hg20task.txt")));

  EXPECT_EQ(Report({S("users"), S("--json")}, dir.path()).out,
            S("{\"users\": [\"anna smith\"]}\n"));
  const ReportRun week = Report({S("week"), S("--user"), anna, S("--from"), S("2025-12-31"),
                                 S("--to"), S("2026-01-01"), S("--compare"), S("1"), S("--json")},
                                dir.path());
  ASSERT_EQ(week.status, 0) << week.err.toStdString();
  EXPECT_EQ(week.json()[S("total1")].toInt(), 4 * 3600 + 5);
  EXPECT_EQ(week.json()[S("total2")].toInt(), 4 * 3600);
  const ReportRun detail = Report({S("detail"), S("--user"), anna, S("--from"), S("2025-12-31"),
                                   S("--to"), S("2026-01-01"), S("--json")},
                                  dir.path());
  const QJsonArray tasks = detail.json()[S("tasks")].toArray();
  ASSERT_EQ(tasks.size(), 3);
  EXPECT_EQ(tasks[0].toObject()[S("name")].toString(), S("Editor"));
  EXPECT_EQ(tasks[0].toObject()[S("seconds")].toInt(), 3 * 3600 + 1800);
  EXPECT_EQ(tasks[2].toObject()[S("name")].toString(), S("unknown_task"));
  EXPECT_EQ(tasks[2].toObject()[S("seconds")].toInt(), 5);
  // Every counted second is in the detail, as in the week.
  EXPECT_EQ(detail.json()[S("grandTotal")].toInt(), week.json()[S("total1")].toInt());
}

}  // namespace
