#include "localisation/LangString.h"

namespace localisation {

namespace {

std::function<QString(int)>& Source() {
  static std::function<QString(int)> source;
  return source;
}

}  // namespace

QString DefaultLangString(int ident) {
  switch (ident) {
    case 25:
      return QStringLiteral("Horalog");
    case 26:
      return QStringLiteral("Count Down");
    case 27:
      return QStringLiteral("Time is up!");
    case 28:
      return QStringLiteral("Start");
    case 29:
      return QStringLiteral("Stop");
    case 30:
      return QStringLiteral("Not active");
    case 31:
      return QStringLiteral("Today:");
    case 35:
      return QStringLiteral("Delete the selected entry?");
    case 100:
      return QStringLiteral("Version");
    case 101:
      return QStringLiteral("Horalog Options");
    case 102:
      return QStringLiteral("Group");
    case 103:
      return QStringLiteral("Application");
    case 104:
      return QStringLiteral("Task");
    // 148, 149 and 153 are labels that the statistics follow with ": "; 154 and 155 run
    // straight into the text after them.
    case 146:
      return QStringLiteral("day");
    case 147:
      return QStringLiteral("days");
    case 148:
      return QStringLiteral("Total");
    case 149:
      return QStringLiteral("Compared");
    case 150:
      return QStringLiteral("Horalog Statistics");
    case 151:
      return QStringLiteral("Gathering the task totals...");
    case 152:
      return QStringLiteral("Filling the detail view...");
    case 153:
      return QStringLiteral("Grand total");
    case 154:
      return QStringLiteral("Time on ");
    case 155:
      return QStringLiteral("Main task: ");
    case 156:
      return QStringLiteral("Time: ");
    default:
      return {};
  }
}

void SetLangStringSource(std::function<QString(int)> source) { Source() = std::move(source); }

QString LangString(int ident) {
  if (const auto& source = Source()) {
    const QString text = source(ident);
    if (!text.isEmpty()) return text;
  }
  return DefaultLangString(ident);
}

}  // namespace localisation
