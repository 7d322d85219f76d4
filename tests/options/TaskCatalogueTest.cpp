#include "core/Error.h"
#include "options/TaskCatalogue.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

using options::SplitTaskLine;
using options::TaskCatalogue;

// Fields of a catalogue line, including lines with fewer or more TABs than three fields need.
TEST(TaskCatalogueTest, SplitsLines) {
  struct C {
    const char* line;
    const char* application;
    const char* name;
    const char* group;
  } cases[] = {
      {"/usr/bin/vim\tEditor\t1", "/usr/bin/vim", "Editor", "1"},
      {"/usr/bin/vim\tEditor", "/usr/bin/vim", "", "Editor"},
      {"no tab at all", "", "", "no tab at all"},
      {"a\tb\tc\td", "a", "b", "c\td"},
      {"\t\t", "", "", ""},
      {"", "", "", ""},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.line);
    const auto t = SplitTaskLine(QString::fromLatin1(c.line));
    EXPECT_EQ(t.application, QString::fromLatin1(c.application));
    EXPECT_EQ(t.name, QString::fromLatin1(c.name));
    EXPECT_EQ(t.group, QString::fromLatin1(c.group));
  }
}

// Restricted applications (group exactly "6") are listed last one first.
TEST(TaskCatalogueTest, RestrictedList) {
  TaskCatalogue c;
  c.Add(QStringLiteral("A\ta\t6"));
  c.Add(QStringLiteral("B\tb\t1"));
  c.Add(QStringLiteral("C\tc\t6"));
  c.Add(QStringLiteral("D\td\t 6"));
  c.Add(QStringLiteral("E\te\t66"));
  EXPECT_EQ(c.BuildRestrictedList(), QStringLiteral("C;A;"));
  EXPECT_EQ(TaskCatalogue().BuildRestrictedList(), QString());
}

// A new application enters with its window title in group Work, or without a title with its
// file name (extension included) in group .Hidden; TABs and breaks in a title cannot split it.
TEST(TaskCatalogueTest, NewEntries) {
  EXPECT_EQ(TaskCatalogue::NewEntry(QStringLiteral("/usr/bin/gedit"), QStringLiteral("notes.txt")),
            QStringLiteral("/usr/bin/gedit\tnotes.txt\t1"));
  EXPECT_EQ(TaskCatalogue::NewEntry(QStringLiteral("/opt/x/tool.bin"), QString()),
            QStringLiteral("/opt/x/tool.bin\ttool.bin\t0"));
  EXPECT_EQ(TaskCatalogue::NewEntry(QStringLiteral("C:\\WINDOWS\\NOTEPAD.EXE"), QString()),
            QStringLiteral("C:\\WINDOWS\\NOTEPAD.EXE\tNOTEPAD.EXE\t0"));
  EXPECT_EQ(TaskCatalogue::NewEntry(QStringLiteral("/bin/t"), QStringLiteral("a\tb\nc")),
            QStringLiteral("/bin/t\ta b c\t1"));
}

class CatalogueFileTest : public ::testing::Test {
 protected:
  QString Path() const { return dir_.filePath(QStringLiteral("hg20task.txt")); }
  QTemporaryDir dir_;
};

// Any line end is read; the file is written sorted with CR LF after every line; paths that
// differ only in case are both kept, and a look-up finds the first in list order.
TEST_F(CatalogueFileTest, LoadSaveAndCaseVariants) {
  {
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("/usr/bin/zed\tZed\t1\r/USR/BIN/VIM\tVim big\t2\n/usr/bin/vim\tvim\t1\r\n");
  }
  TaskCatalogue c;
  c.Load(Path());
  ASSERT_EQ(c.lines().size(), 3);
  EXPECT_TRUE(c.Contains(QStringLiteral("/usr/bin/VIM")));
  qsizetype index = -1;
  ASSERT_TRUE(core::FindTabKey(c.lines(), QStringLiteral("/usr/bin/vim"), index));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(c.lines().at(2), QStringLiteral("/usr/bin/zed\tZed\t1"));
  c.Save(Path());
  QFile f(Path());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_EQ(bytes.count("\r\n"), 3);
  EXPECT_TRUE(bytes.endsWith("/usr/bin/zed\tZed\t1\r\n"));
}

// A missing file is an empty catalogue, and its first save writes an empty file.
TEST_F(CatalogueFileTest, MissingFileIsEmpty) {
  TaskCatalogue c;
  c.Add(QStringLiteral("x\ty\t1"));
  c.Load(Path());
  EXPECT_TRUE(c.lines().isEmpty());
  c.Save(Path());
  EXPECT_EQ(QFile(Path()).size(), 0);
}

// A catalogue that cannot be written says so and leaves the old file.
TEST_F(CatalogueFileTest, FailedSaveKeepsOldFile) {
  TaskCatalogue c;
  c.Add(QStringLiteral("x\ty\t1"));
  const QString into = dir_.filePath(QStringLiteral("missing-folder/hg20task.txt"));
  EXPECT_THROW(c.Save(into), core::Error);
}

}  // namespace
