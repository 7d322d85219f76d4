#include "ReportCommand.h"

#include "core/Durations.h"
#include "core/Error.h"
#include "core/FormatSettings.h"
#include "core/SortedStrings.h"
#include "localisation/LangString.h"
#include "options/TaskCatalogue.h"
#include "statistics/StatisticModel.h"
#include "tracker/StatisticsStore.h"

#include <QDir>
#include <QRegularExpression>

#include <cmath>

namespace report {

namespace {

using Command = ReportOptions::Command;
using Format = ReportOptions::Format;
using statistics::PeriodPreset;
using statistics::StatisticModel;
using statistics::WeekStyle;

QString L(const char* text) { return QString::fromLatin1(text); }

qint64 Seconds(double days) { return std::llround(days * 86400.0); }

// The store's key for time counted before any application was known.
constexpr const char* kUnknownTask = "unknown_task";

QDate ParseIsoDate(const QString& option, const QString& text) {
  static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
  const QDate date = QDate::fromString(text, Qt::ISODate);
  if (!shape.match(text).hasMatch() || !date.isValid())
    throw UsageError{L("%1: \"%2\" is not a date of the form YYYY-MM-DD").arg(option, text)};
  return date;
}

// --- JSON, written by hand so that the fields keep the documented order ---

QString JsonString(const QString& text) {
  QString out = L("\"");
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'"':
        out += L("\\\"");
        break;
      case u'\\':
        out += L("\\\\");
        break;
      case u'\n':
        out += L("\\n");
        break;
      case u'\r':
        out += L("\\r");
        break;
      case u'\t':
        out += L("\\t");
        break;
      default:
        if (c.unicode() < 0x20)
          out += L("\\u%1").arg(int(c.unicode()), 4, 16, QChar(u'0'));
        else
          out += c;
    }
  }
  return out + u'"';
}

QString JsonField(const char* name, const QString& jsonValue) {
  return JsonString(L(name)) + L(": ") + jsonValue;
}
QString JsonField(const char* name, qint64 value) {
  return JsonField(name, QString::number(value));
}
QString JsonObject(const QStringList& fields) { return u'{' + fields.join(L(", ")) + u'}'; }

// --- CSV: quoted where a field needs it ---

QString CsvField(const QString& field) {
  QString text = field;
  // A spreadsheet runs a field that starts like a formula; a task name must stay a text.
  if (!text.isEmpty() && QStringView(u"=+-@").contains(text.front())) text.prepend(u'\'');
  if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
      !text.contains(u'\r'))
    return text;
  QString quoted = text;
  quoted.replace(L("\""), L("\"\""));
  return u'"' + quoted + u'"';
}

// --- readable tables ---

QString Pad(const QString& text, int width) { return text.leftJustified(width, u' '); }

// Only the blanks at the end go: those in front keep the columns in place.
QString TrimEnd(QString text) {
  while (text.endsWith(u' ')) text.chop(1);
  return text;
}

QString ShortDate(const QDate& date) { return core::FormatSettings::Current().FormatDate(date); }

QString WeekStyleName(WeekStyle style) {
  return style == WeekStyle::MondayToSunday ? L("monday") : L("sunday");
}

// Progress of the per-task totals on a terminal; nothing when the output goes elsewhere.
class TerminalProgress : public statistics::ProgressHook {
 public:
  TerminalProgress(QTextStream& err, bool enabled) : err_(err), enabled_(enabled) {}
  ~TerminalProgress() override {
    if (enabled_ && shown_) {
      err_ << '\r' << QString(text_.size() + 6, u' ') << '\r';
      err_.flush();
    }
  }
  void SetText(const QString& text) override { text_ = text; }
  void SetRange(int minimum, int maximum) override {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  void SetPosition(int position) override {
    if (!enabled_) return;
    const int span = maximum_ - minimum_ + 1;
    const int percent = span > 0 ? std::min(100, (position - minimum_) * 100 / span) : 100;
    if (percent == last_) return;
    last_ = percent;
    shown_ = true;
    err_ << '\r' << text_ << ' ' << percent << '%';
    err_.flush();
  }
  void ProcessEvents() override {}
  bool Cancelled() override { return false; }

 private:
  QTextStream& err_;
  bool enabled_;
  bool shown_ = false;
  QString text_;
  int minimum_ = 0, maximum_ = 0, last_ = -1;
};

QString StorePath(const QString& dataFolder) {
  return QDir(dataFolder).absoluteFilePath(L(tracker::StatisticsStore::kFileName));
}

QString CataloguePath(const QString& dataFolder) {
  return QDir(dataFolder).absoluteFilePath(L(options::TaskCatalogue::kFileName));
}

// A user or a task key that names nothing would give a table of zeros that looks like a
// result: say what is wrong instead.
void CheckUser(const QString& user, const QString& dataFolder) {
  core::SortedStrings users(core::SortedStrings::Duplicates::Ignore);
  tracker::StatisticsStore(StorePath(dataFolder)).ReadUsers(users);
  qsizetype index = 0;
  if (!users.Find(user, index)) {
    throw core::Error(L("unknown user \"%1\": \"%2\" holds no day of that user")
                          .arg(user, StorePath(dataFolder)));
  }
}

void CheckTaskKey(const StatisticModel& model, const char* option, const QString& key,
                  const QString& dataFolder) {
  if (key == L("total") || (QByteArrayView(option) == "--compare" && key == L("none"))) return;
  if (statistics::TaskLists::IsGroupKey(key)) {
    static const QStringList groups = {L("1"), L("2"), L("3"), L("4"), L("5"), L("6")};
    if (!groups.contains(key))
      throw core::Error(
          L("%1: there is no group \"%2\"; the groups are 1 to 6").arg(L(option), key));
    return;
  }
  // Names count exactly as written, as the statistics window counts them.
  for (const QString& line : model.taskLists().slTaskSortedName().lines()) {
    if (QStringView(line).left(line.indexOf(u'\t')) == key) return;
  }
  throw core::Error(L("%1: no task is named \"%2\" in \"%3\" (tasks of the group .Hidden never "
                      "count)")
                        .arg(L(option), key, CataloguePath(dataFolder)));
}

// The time for which no task was known, summed over the period: it is part of the day's
// total but belongs to no catalogue task.
double UnknownTaskTotal(const StatisticModel& model, const QString& dataFolder) {
  if (model.dateFrom().isNull() || model.dateTo().isNull()) return 0;
  const core::ProfileFile store = tracker::StatisticsStore::OpenFile(StorePath(dataFolder));
  double total = 0;
  for (QDate day = model.dateFrom(); day <= model.dateTo(); day = day.addDays(1)) {
    total +=
        statistics::ReadStoredTime(store, tracker::SectionName(model.user(), day), L(kUnknownTask));
  }
  return total;
}

void LoadModel(StatisticModel& model, const ReportOptions& options, const QString& dataFolder) {
  options::TaskCatalogue catalogue;
  catalogue.Load(CataloguePath(dataFolder));
  model.BuildTaskLists(catalogue.lines());
  CheckUser(options.user, dataFolder);
  CheckTaskKey(model, "--task", options.task, dataFolder);
  CheckTaskKey(model, "--compare", options.compare, dataFolder);
  model.SetUser(options.user);
  model.SetWeekStyle(options.weekStyle);
  model.SetTaskKeys(options.task, options.compare);
  // The same steps as the window: a preset ends on "today", dates typed in are a date change.
  if (options.period) {
    model.mnMonthClick(*options.period, options.until);
  } else {
    model.SetDates(options.from, options.to);
    model.dateToChange();
  }
}

void PrintUsers(const QString& dataFolder, const ReportOptions& options, QTextStream& out) {
  core::SortedStrings users(core::SortedStrings::Duplicates::Ignore);
  const tracker::StatisticsStore store(
      QDir(dataFolder).filePath(L(tracker::StatisticsStore::kFileName)));
  store.ReadUsers(users);
  if (options.format == Format::Json) {
    QStringList names;
    for (const QString& user : users.lines()) names << JsonString(user);
    out << JsonObject({JsonField("users", u'[' + names.join(L(", ")) + u']')}) << '\n';
    return;
  }
  for (const QString& user : users.lines()) out << user << '\n';
}

void PrintWeek(const StatisticModel& model, const ReportOptions& options, QTextStream& out) {
  const bool compare = model.Task2Key() != L("none");
  const auto& weeks1 = model.WeekTotal1();
  const auto& weeks2 = model.WeekTotal2();
  switch (options.format) {
    case Format::Json: {
      QStringList days, weeks;
      for (const statistics::DayTime& d : model.days()) {
        days << JsonObject({JsonField("date", JsonString(d.date.toString(Qt::ISODate))),
                            JsonField("row", d.row), JsonField("column", d.column),
                            JsonField("seconds1", Seconds(d.time1)),
                            JsonField("seconds2", Seconds(d.time2))});
      }
      for (size_t r = 0; r < weeks1.size(); ++r) {
        weeks << JsonObject({JsonField("row", qint64(r)), JsonField("seconds1", Seconds(weeks1[r])),
                             JsonField("seconds2", Seconds(weeks2[r]))});
      }
      const qint64 total1 = Seconds(model.total1()), total2 = Seconds(model.total2());
      QString percent = L("null");
      if (compare && total1 > 0 && total2 > 0)
        percent =
            QString::number(std::round(model.total2() / model.total1() * 10000.0) / 100.0, 'f', 2);
      out << JsonObject({JsonField("user", JsonString(model.user())),
                         JsonField("from", JsonString(model.dateFrom().toString(Qt::ISODate))),
                         JsonField("to", JsonString(model.dateTo().toString(Qt::ISODate))),
                         JsonField("weekStart", JsonString(WeekStyleName(model.weekStyle()))),
                         JsonField("task", JsonString(model.Task1Key())),
                         JsonField("compare", JsonString(model.Task2Key())),
                         JsonField("periodDays", model.PeriodDays()),
                         JsonField("firstColumn", model.FirstColumn()),
                         JsonField("rows", model.rows()),
                         JsonField("days", u'[' + days.join(L(", ")) + u']'),
                         JsonField("weeks", u'[' + weeks.join(L(", ")) + u']'),
                         JsonField("total1", total1), JsonField("total2", total2),
                         JsonField("percent", percent)})
          << '\n';
      return;
    }
    case Format::Csv:
      out << "date,row,column,seconds1,seconds2\n";
      for (const statistics::DayTime& d : model.days()) {
        out << d.date.toString(Qt::ISODate) << ',' << d.row << ',' << d.column << ','
            << Seconds(d.time1) << ',' << Seconds(d.time2) << '\n';
      }
      return;
    case Format::Text:
      break;
  }

  out << model.user() << ": " << ShortDate(model.dateFrom()) << " - " << ShortDate(model.dateTo())
      << "    " << model.Task1Key();
  if (compare) out << " / " << model.Task2Key();
  out << "\n\n";
  // Each week row takes a line of day labels, a line of main times and, when comparing, a line
  // of compared times; the last column holds the week totals. A week without any time shows
  // its day labels only, and in a week with time both totals are written, 00:00 included, so
  // that no line of times is blank and the compared times never pass for the main ones.
  constexpr int kWidth = 10;
  const auto titles = model.DayTitles();
  QString header;
  for (const QString& title : titles) header += Pad(title, kWidth);
  out << TrimEnd(header) << "\n\n";
  const QString noTime = core::FormatDurationHM(0);
  for (int r = 0; r < model.rows(); ++r) {
    if (r > 0) out << '\n';
    QString lines[3];
    // WEEK1 TAB WEEK2: the split puts them in the first and last field.
    const options::TaskLine week = options::SplitTaskLine(model.Cells(7, r));
    const bool hasTime = !week.application.isEmpty() || (compare && !week.group.isEmpty());
    for (int k = 0; k < 7; ++k) {
      const options::TaskLine cell = options::SplitTaskLine(model.Cells(k, r));
      lines[0] += Pad(cell.application, kWidth);
      lines[1] += Pad(cell.name, kWidth);
      lines[2] += Pad(cell.group, kWidth);
    }
    out << TrimEnd(lines[0]) << '\n';
    if (!hasTime) continue;
    out << lines[1] << (week.application.isEmpty() ? noTime : week.application) << '\n';
    if (compare) out << lines[2] << (week.group.isEmpty() ? noTime : week.group) << '\n';
  }
  out << '\n' << model.lTotal() << '\n';
  if (!model.lTotal2().isEmpty()) out << model.lTotal2() << '\n';
}

void PrintDetail(const StatisticModel& model, double grandTotal, double unknownTask,
                 const ReportOptions& options, QTextStream& out) {
  // The catalogue's tasks, largest first, then the time that no task holds, so that the lines
  // add up to the grand total.
  std::vector<statistics::TaskTotal> lines = model.taskTotals();
  if (unknownTask > 0) lines.push_back({unknownTask, L(kUnknownTask), QString()});
  switch (options.format) {
    case Format::Json: {
      QStringList tasks;
      for (const statistics::TaskTotal& t : lines) {
        tasks << JsonObject({JsonField("name", JsonString(t.name)),
                             JsonField("application", JsonString(t.application)),
                             JsonField("seconds", Seconds(t.total))});
      }
      out << JsonObject({JsonField("user", JsonString(model.user())),
                         JsonField("from", JsonString(model.dateFrom().toString(Qt::ISODate))),
                         JsonField("to", JsonString(model.dateTo().toString(Qt::ISODate))),
                         JsonField("tasks", u'[' + tasks.join(L(", ")) + u']'),
                         JsonField("grandTotal", Seconds(grandTotal))})
          << '\n';
      return;
    }
    case Format::Csv:
      out << "name,application,seconds\n";
      for (const statistics::TaskTotal& t : lines)
        out << CsvField(t.name) << ',' << CsvField(t.application) << ',' << Seconds(t.total)
            << '\n';
      return;
    case Format::Text:
      break;
  }
  out << model.user() << ": " << ShortDate(model.dateFrom()) << " - " << ShortDate(model.dateTo())
      << "\n\n";
  int nameWidth = 4;
  QStringList times;
  int timeWidth = 8;
  for (const statistics::TaskTotal& t : lines) {
    nameWidth = std::max(nameWidth, int(t.name.size()));
    times << core::FormatDuration(t.total);
    timeWidth = std::max(timeWidth, int(times.back().size()));
  }
  nameWidth = std::min(nameWidth, 40) + 2;
  for (size_t i = 0; i < lines.size(); ++i) {
    const QString line =
        Pad(lines[i].name, nameWidth) + times[qsizetype(i)].rightJustified(timeWidth, u' ');
    if (lines[i].application.isEmpty())
      out << TrimEnd(line) << '\n';
    else
      out << line << "  " << lines[i].application << '\n';
  }
  if (!lines.empty()) out << '\n';
  out << localisation::LangString(153) << ": " << StatisticModel::PeriodTotalText(grandTotal)
      << '\n';
}

}  // namespace

ReportOptions ParseArguments(const QStringList& arguments, const QDate& today) {
  ReportOptions options;
  options.until = today;
  if (arguments.isEmpty()) throw UsageError{L("no command given")};
  const QString& command = arguments.front();
  if (command == L("--help") || command == L("-h") || command == L("help")) {
    options.help = true;
    return options;
  }
  if (command == L("users"))
    options.command = Command::Users;
  else if (command == L("week"))
    options.command = Command::Week;
  else if (command == L("detail"))
    options.command = Command::Detail;
  else
    throw UsageError{L("unknown command \"%1\"").arg(command)};

  QStringList allowed = {L("data"), L("json")};
  if (options.command != Command::Users) {
    allowed << L("user") << L("from") << L("to") << L("period") << L("until") << L("csv");
  }
  if (options.command == Command::Week) allowed << L("task") << L("compare") << L("week-start");
  const QStringList flags = {L("json"), L("csv")};

  bool json = false, csv = false, untilGiven = false;
  std::optional<QString> user, from, to;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == L("--help") || argument == L("-h")) {
      options.help = true;
      return options;
    }
    if (!argument.startsWith(L("--")) || argument.size() == 2)
      throw UsageError{L("unexpected argument \"%1\"").arg(argument)};
    QString name = argument.mid(2);
    std::optional<QString> value;
    if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
      value = name.mid(eq + 1);
      name.truncate(eq);
    }
    if (!allowed.contains(name)) {
      throw UsageError{L("unknown option \"--%1\" for %2").arg(name, command)};
    }
    if (flags.contains(name)) {
      if (value) throw UsageError{L("--%1 takes no value").arg(name)};
      (name == L("json") ? json : csv) = true;
      continue;
    }
    if (!value) {
      if (i + 1 >= arguments.size()) throw UsageError{L("--%1 needs a value").arg(name)};
      value = arguments[++i];
    }
    const QString option = L("--") + name;
    if (name == L("data")) {
      if (value->isEmpty()) throw UsageError{L("--data needs a folder")};
      options.dataFolder = *value;
    } else if (name == L("user")) {
      user = *value;
    } else if (name == L("from")) {
      from = *value;
    } else if (name == L("to")) {
      to = *value;
    } else if (name == L("until")) {
      options.until = ParseIsoDate(option, *value);
      untilGiven = true;
    } else if (name == L("period")) {
      if (*value == L("day"))
        options.period = PeriodPreset::Day;
      else if (*value == L("week"))
        options.period = PeriodPreset::Week;
      else if (*value == L("twoweeks"))
        options.period = PeriodPreset::TwoWeeks;
      else if (*value == L("month"))
        options.period = PeriodPreset::Month;
      else
        throw UsageError{L("--period: \"%1\" is none of day, week, twoweeks, month").arg(*value)};
    } else if (name == L("task") || name == L("compare")) {
      if (value->isEmpty()) throw UsageError{L("%1 needs a task key").arg(option)};
      (name == L("task") ? options.task : options.compare) = *value;
    } else if (name == L("week-start")) {
      if (*value == L("monday"))
        options.weekStyle = WeekStyle::MondayToSunday;
      else if (*value == L("sunday"))
        options.weekStyle = WeekStyle::SundayToSaturday;
      else
        throw UsageError{L("--week-start: \"%1\" is neither monday nor sunday").arg(*value)};
    }
  }

  if (json && csv) throw UsageError{L("--json and --csv exclude each other")};
  options.format = json ? Format::Json : csv ? Format::Csv : Format::Text;
  if (options.command == Command::Users) return options;

  if (!user) throw UsageError{L("missing --user")};
  if (user->trimmed().isEmpty()) throw UsageError{L("--user needs a user name")};
  // The tracker counts under the user name without the blanks around it.
  options.user = user->trimmed();
  if (options.period) {
    if (from || to) throw UsageError{L("give either --from and --to or --period, not both")};
  } else {
    if (untilGiven) throw UsageError{L("--until goes with --period")};
    if (!from || !to) throw UsageError{L("give --from and --to, or --period")};
    options.from = ParseIsoDate(L("--from"), *from);
    options.to = ParseIsoDate(L("--to"), *to);
  }
  return options;
}

QString HelpText() {
  return L(
      "Usage:\n"
      "  horalog-report users  [--data DIR] [--json]\n"
      "  horalog-report week   [--data DIR] --user U PERIOD [--task KEY] [--compare KEY]\n"
      "                        [--week-start monday|sunday] [--json | --csv]\n"
      "  horalog-report detail [--data DIR] --user U PERIOD [--json | --csv]\n"
      "\n"
      "Prints what the Horalog statistics window shows, from the tracker's own files.\n"
      "\n"
      "Commands:\n"
      "  users    the users found in the store\n"
      "  week     the week table of a period: the time of one key per day and per week, the\n"
      "           period total and, with --compare, a second key and its percentage\n"
      "  detail   the time of every task over the period, largest first, then the time of no\n"
      "           known application (unknown_task), and the grand total\n"
      "\n"
      "PERIOD is either\n"
      "  --from YYYY-MM-DD --to YYYY-MM-DD\n"
      "           the first and the last day; an end before the start moves the start to it\n"
      "  --period day|week|twoweeks|month [--until YYYY-MM-DD]\n"
      "           the day, the 7 or 14 days, or the month ending on --until (default: today);\n"
      "           a month starts on the day after the same day of the month before\n"
      "\n"
      "Options:\n"
      "  --data DIR        the folder of hg20work.txt and hg20task.txt\n"
      "                    (default: the tracker's data folder)\n"
      "  --user U          the user, as the tracker knows it\n"
      "  --task KEY        what to count (default: total)\n"
      "  --compare KEY     what to compare with (default: none)\n"
      "  --week-start D    monday (default) or sunday: the first day of each week row\n"
      "  --json            one JSON object; every time is in whole seconds\n"
      "  --csv             one line per day (week) or per task (detail); times in seconds;\n"
      "                    a text that starts with = + - or @ gets a leading '\n"
      "  --help            this text\n"
      "\n"
      "A KEY is \"total\" (the day's whole time), \"none\" (no comparison), a group number\n"
      "(1 Work, 2 Internet, 3 Games, 4 System, 5 Stuff, 6 .Restricted) or a task name as the\n"
      "task list names it. Tasks of the group .Hidden never count for a group or a name.\n"
      "\n"
      "Exit status: 0 done, 1 a file could not be read or the user or a KEY is not known,\n"
      "2 bad input.\n");
}

void RunReport(const ReportOptions& options, const QString& dataFolder, QTextStream& out,
               QTextStream& err, bool showProgress) {
  if (options.command == Command::Users) {
    PrintUsers(dataFolder, options, out);
    return;
  }
  StatisticModel model(StorePath(dataFolder));
  LoadModel(model, options, dataFolder);
  if (options.command == Command::Week) {
    PrintWeek(model, options, out);
    return;
  }
  TerminalProgress progress(err, showProgress);
  const double taskTotal = model.CollectTaskTotals(progress);
  const double unknownTask = UnknownTaskTotal(model, dataFolder);
  PrintDetail(model, taskTotal + unknownTask, unknownTask, options, out);
}

}  // namespace report
