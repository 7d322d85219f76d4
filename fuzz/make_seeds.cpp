// Writes the test fixtures of every file layout into a folder, as seeds for the fuzzer.
#include "LangFixture.h"

#include <QDir>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  for (const auto& [name, data] : fixture::Seeds())
    if (!fixture::Write(dir + u'/' + name, data)) return 1;
  return 0;
}
