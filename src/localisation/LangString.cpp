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
    case 25: return QStringLiteral("Horalog");
    case 26: return QStringLiteral("Count Down");
    case 27: return QStringLiteral("Time is up!");
    case 28: return QStringLiteral("Start");
    case 29: return QStringLiteral("Stop");
    case 30: return QStringLiteral("Not active");
    case 31: return QStringLiteral("Today:");
    case 35: return QStringLiteral("Delete the selected entry?");
    default: return {};
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
