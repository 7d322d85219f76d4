// libFuzzer target for the language file reader: whatever bytes a downloaded file holds, loading
// either succeeds or fails with the format's error; a loaded file dumps, renders and loads again.
#include "localisation/LangSource.h"
#include "localisation/LxLangEd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString Scratch() {
  static const QString path = QDir::tempPath() + QStringLiteral("/horalog-fuzz-%1.lng").arg(getpid());
  return path;
}

bool Write(const QString& path, const QByteArray& data) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace localisation;
  if (!Write(Scratch(), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) abort();
  QByteArray image;
  try {
    TLxLangFileEdit file(Scratch());
    for (qsizetype i = 0; i < file.Count(); ++i) {
      TLxLangStr* s = file.Strings(i);
      (void)s->UnicodeText();
      (void)s->PropName();
      if (file.FindByIdent(s->Ident()) == nullptr) abort();
    }
    for (qsizetype f = 0; f < file.Props().FormCount(); ++f)
      for (const auto& e : file.Props().FormProps(f))
        (void)file.FindByProp(file.Props().FormAt(f).Name, e.Path);
    (void)DumpSource(file);
    (void)DumpJson(file);
    try {
      image = file.Render();
    } catch (const ELangFileError&) {
      // Something the writer refuses (a name cut at 255 bytes, say): nothing to reload.
      return 0;
    }
  } catch (const ELangFileError&) {
    return 0;
  }
  // What the writer makes of a loaded file must load again.
  if (!Write(Scratch(), image)) abort();
  try {
    TLxLangFile again(Scratch());
    if (again.IsNew() && !image.isEmpty()) abort();
  } catch (const ELangFileError&) {
    abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  (void)Scratch();  // made before the exit handler, so it outlives it
  std::atexit([] { QFile::remove(Scratch()); });
  return 0;
}
