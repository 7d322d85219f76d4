// lngtool: the translators' tool for language files.
//   lngtool dump [--json] FILE.lng     the file as an editable source (or JSON) on stdout
//   lngtool build SOURCE -o FILE.lng   a source compiled into a language file
//   lngtool resave IN OUT              IN loaded and written again as OUT
//   lngtool --help                     what the commands do
#include "localisation/LangSource.h"
#include "localisation/LxLangEd.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <memory>

using namespace localisation;

namespace {

const char kUsage[] =
    "usage: lngtool dump [--json] FILE.lng\n"
    "       lngtool build SOURCE -o FILE.lng\n"
    "       lngtool resave IN.lng OUT.lng\n"
    "       lngtool --help\n";

// A wrong call: the usage on stderr, status 2.
int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// Asked for: on stdout, status 0.
int Help() {
  std::fputs(kUsage, stdout);
  std::fputs(
      "\n"
      "The translators' tool for Horalog's language files.\n"
      "\n"
      "  dump     prints FILE.lng as an editable source text, or with --json as JSON\n"
      "  build    compiles a source text into the language file FILE.lng\n"
      "  resave   loads IN.lng and writes it again as OUT.lng in the current layout\n"
      "\n"
      "Exit status: 0 done, 1 a file could not be read or written, 2 wrong call.\n",
      stdout);
  return 0;
}

void Print(FILE* to, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  std::fwrite(utf8.constData(), 1, size_t(utf8.size()), to);
}

int Fail(const QString& message) {
  Print(stderr, message + u'\n');
  return 1;
}

// The tool names files as the user typed them; only a name without any ".lng" gets one.
QString Absolute(const QString& name) { return QFileInfo(name).absoluteFilePath(); }

// A file that exists but loads as new could not be opened or is empty: say so rather than
// print an empty language.
std::unique_ptr<TLxLangFileEdit> LoadExisting(const QString& name) {
  auto file = std::make_unique<TLxLangFileEdit>(Absolute(name));
  if (file->IsNew()) {
    if (!QFileInfo::exists(file->FileName()))
      throw ELangFileError(QStringLiteral("%1: no such file").arg(file->FileName()));
    if (!file->IsStreamOpen())
      throw ELangFileError(QStringLiteral("%1: cannot be opened").arg(file->FileName()));
  }
  return file;
}

int Dump(const QStringList& args) {
  bool json = false;
  QString name;
  for (const QString& a : args) {
    if (a == QStringLiteral("--json"))
      json = true;
    else if (name.isEmpty())
      name = a;
    else
      return Usage();
  }
  if (name.isEmpty()) return Usage();
  const auto file = LoadExisting(name);
  if (json) {
    const QByteArray out = DumpJson(*file);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
  } else {
    Print(stdout, DumpSource(*file));
  }
  return 0;
}

int Build(const QStringList& args) {
  if (args.size() != 3 || args[1] != QStringLiteral("-o")) return Usage();
  QFile in(args[0]);
  if (!in.open(QIODevice::ReadOnly))
    return Fail(QStringLiteral("%1: %2").arg(args[0], in.errorString()));
  const QString source = QString::fromUtf8(in.readAll());
  const auto file = TLxLangFileEdit::CreateBlank(Absolute(args[2]));
  try {
    BuildFromSource(source, *file);
  } catch (const ELangFileError& e) {
    return Fail(QStringLiteral("%1:%2").arg(args[0], e.message()));
  }
  file->Save();
  return 0;
}

int Resave(const QStringList& args) {
  if (args.size() != 2) return Usage();
  const auto file = LoadExisting(args[0]);
  file->SetFileName(Absolute(args[1]));
  file->Save();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) return Help();
  if (args.isEmpty()) return Usage();
  const QString command = args.takeFirst();
  try {
    if (command == QStringLiteral("dump")) return Dump(args);
    if (command == QStringLiteral("build")) return Build(args);
    if (command == QStringLiteral("resave")) return Resave(args);
  } catch (const core::Error& e) {
    return Fail(e.message());
  }
  return Usage();
}
