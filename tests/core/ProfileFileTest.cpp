#include "core/Error.h"
#include "core/ProfileFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using core::ProfileFile;

class ProfileFileTest : public ::testing::Test {
 protected:
  QString Path() const { return dir_.filePath(QStringLiteral("test.ini")); }
  void Put(const QByteArray& bytes) const {
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray Get() const {
    QFile f(Path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  QTemporaryDir dir_;
};

// The first write creates the file; sections and keys appear in the order of first write.
TEST_F(ProfileFileTest, FirstWriteCreatesFileInWriteOrder) {
  ProfileFile f(Path());
  EXPECT_TRUE(f.Sections().isEmpty());
  f.Commit();  // nothing written: nothing created
  EXPECT_FALSE(QFile::exists(Path()));
  f.WriteString(QStringLiteral("b"), QStringLiteral("x"), QStringLiteral("1"));
  f.WriteString(QStringLiteral("a"), QStringLiteral("y"), QStringLiteral("2"));
  f.WriteString(QStringLiteral("b"), QStringLiteral("z"), QStringLiteral("3"));
  f.Commit();
  EXPECT_EQ(Get(), QByteArray("[b]\r\nx=1\r\nz=3\r\n[a]\r\ny=2\r\n"));
}

// Names match ignoring case; a key written again is replaced where it stands; new keys go
// after the section's last key; everything else stays byte for byte.
TEST_F(ProfileFileTest, EditsInPlaceAndKeepsForeignLines) {
  Put("; a comment\n\n[One]\nKey=old\n; inside\nOther = spaced value \n\n[misc]\nfoo\n");
  {
    ProfileFile f(Path());
    EXPECT_EQ(f.Sections(), QStringList({QStringLiteral("One"), QStringLiteral("misc")}));
    EXPECT_EQ(f.Keys(QStringLiteral("one")),
              QStringList({QStringLiteral("Key"), QStringLiteral("Other")}));
    EXPECT_EQ(f.ReadString(QStringLiteral("ONE"), QStringLiteral("other"), {}),
              QStringLiteral("spaced value"));
    f.WriteString(QStringLiteral("one"), QStringLiteral("KEY"), QStringLiteral("new"));
    f.WriteString(QStringLiteral("ONE"), QStringLiteral("added"), QStringLiteral("1"));
    f.WriteString(QStringLiteral("Two"), QStringLiteral("k"), QStringLiteral("v"));
    // reads inside the open see the writes
    EXPECT_EQ(f.ReadString(QStringLiteral("one"), QStringLiteral("key"), {}),
              QStringLiteral("new"));
    f.Commit();
  }
  EXPECT_EQ(Get(), QByteArray("; a comment\n\n[One]\nKey=new\n; inside\nOther = spaced value \n"
                              "added=1\n\n[misc]\nfoo\n[Two]\nk=v\n"));
}

// Reading never goes back to the disk once the file is open.
TEST_F(ProfileFileTest, ReadsComeFromTheOneParse) {
  Put("[s]\nk=1\n");
  ProfileFile f(Path());
  Put("[s]\nk=2\n");
  QFile::remove(Path());
  EXPECT_EQ(f.ReadString(QStringLiteral("s"), QStringLiteral("k"), {}), QStringLiteral("1"));
}

// One object can go on after a commit: it then works on what it wrote.
TEST_F(ProfileFileTest, WritesAgainAfterCommit) {
  ProfileFile f(Path());
  f.WriteString(QStringLiteral("s"), QStringLiteral("a"), QStringLiteral("1"));
  f.Commit();
  EXPECT_EQ(f.ReadString(QStringLiteral("s"), QStringLiteral("a"), {}), QStringLiteral("1"));
  f.WriteString(QStringLiteral("s"), QStringLiteral("a"), QStringLiteral("2"));
  f.WriteString(QStringLiteral("s"), QStringLiteral("b"), QStringLiteral("3"));
  f.Commit();
  EXPECT_EQ(Get(), QByteArray("[s]\r\na=2\r\nb=3\r\n"));
}

// Odd input: CR-only and CR LF line ends, a last line without an end, a byte-order mark, a
// repeated section (the first wins, as with the system's functions), and missing values.
TEST_F(ProfileFileTest, ReadsOddInput) {
  Put("\xEF\xBB\xBF[a]\rk=1\r\n[A]\r\nk=2\r\nj=3\r\n[b]\nlast=4");
  ProfileFile f(Path());
  EXPECT_EQ(f.Sections(), QStringList({QStringLiteral("a"), QStringLiteral("b")}));
  EXPECT_EQ(f.ReadString(QStringLiteral("a"), QStringLiteral("k"), {}), QStringLiteral("1"));
  EXPECT_EQ(f.ReadString(QStringLiteral("a"), QStringLiteral("j"), QStringLiteral("none")),
            QStringLiteral("none"));
  EXPECT_EQ(f.ReadString(QStringLiteral("b"), QStringLiteral("last"), {}), QStringLiteral("4"));
  EXPECT_FALSE(f.Value(QStringLiteral("nope"), QStringLiteral("k")).has_value());
  f.WriteString(QStringLiteral("b"), QStringLiteral("next"), QStringLiteral("5"));
  f.Commit();
  EXPECT_TRUE(Get().endsWith("[b]\nlast=4\rnext=5\r"));
  EXPECT_TRUE(Get().startsWith("\xEF\xBB\xBF[a]\rk=1\r\n"));
}

// Section and key names lose the blanks at both ends, as the classic functions do, but keep
// the TAB inside a store's section name; line breaks cannot split a line of the file.
TEST_F(ProfileFileTest, TrimsNamesAndRefusesLineBreaks) {
  const QString section = QStringLiteral("anna\t2001_3_7");
  {
    ProfileFile f(Path());
    f.WriteString(u' ' + section + u'\t', QStringLiteral(" total "), QStringLiteral("00:00:01"));
    f.WriteString(section, QStringLiteral("evil\n[x]"), QStringLiteral("a\r\nb"));
    f.Commit();
  }
  EXPECT_EQ(Get(), QByteArray("[anna\t2001_3_7]\r\ntotal=00:00:01\r\nevil [x]=a  b\r\n"));
  ProfileFile f(Path());
  EXPECT_EQ(f.Sections(), QStringList{section});
  EXPECT_EQ(f.Keys(section), QStringList({QStringLiteral("total"), QStringLiteral("evil [x]")}));
}

// A hand-edited file read as the classic functions read it: blanks around section and key
// names do not count, and one pair of matching quotes around a value goes.
TEST_F(ProfileFileTest, ReadsNamesAndValuesAsTheClassicFunctions) {
  Put("[ bob\t2001_3_7 ]\r\n"
      "  total = 00:00:05 \r\n"
      "dq=\"quoted value\"\r\n"
      "sq=' inner blanks '\r\n"
      "mixed=\"abc'\r\n"
      "one=\"\r\n"
      "empty=\"\"\r\n"
      "inner=a\"b\"c\r\n"
      "twice=\"\"x\"\"\r\n"
      "\t[\tTabbed\t]\r\n"
      "k=1\r\n");
  const ProfileFile f(Path());
  EXPECT_EQ(f.Sections(), QStringList({QStringLiteral("bob\t2001_3_7"), QStringLiteral("Tabbed")}));
  EXPECT_EQ(f.Keys(QStringLiteral("bob\t2001_3_7")).first(), QStringLiteral("total"));
  struct C {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"bob\t2001_3_7", "total", "00:00:05"},  {" BOB\t2001_3_7\t", " total ", "00:00:05"},
      {"bob\t2001_3_7", "dq", "quoted value"}, {"bob\t2001_3_7", "sq", " inner blanks "},
      {"bob\t2001_3_7", "mixed", "\"abc'"},    {"bob\t2001_3_7", "one", "\""},
      {"bob\t2001_3_7", "empty", ""},          {"bob\t2001_3_7", "inner", "a\"b\"c"},
      {"bob\t2001_3_7", "twice", "\"x\""},     {"tabbed", "k", "1"},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(f.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                           QStringLiteral("<missing>")),
              QString::fromUtf8(c.value));
  }
  EXPECT_TRUE(f.HasSection(QStringLiteral("\tbob\t2001_3_7 ")));
}

// Writing finds the section and the key whatever blanks surround the names, and replaces the
// line in place; a quoted value reads without its quotes before and after the commit.
TEST_F(ProfileFileTest, WritesIntoBlankedNames) {
  Put("[ bob\t2001_3_7 ]\n  total = 00:00:05 \nother=1\n");
  {
    ProfileFile f(Path());
    f.WriteString(QStringLiteral("bob\t2001_3_7 "), QStringLiteral("TOTAL "),
                  QStringLiteral("00:00:06"));
    f.WriteString(QStringLiteral(" bob\t2001_3_7"), QStringLiteral("q"), QStringLiteral("'x'"));
    EXPECT_EQ(f.ReadString(QStringLiteral("bob\t2001_3_7"), QStringLiteral("q"), {}),
              QStringLiteral("x"));
    f.Commit();
  }
  EXPECT_EQ(Get(), QByteArray("[ bob\t2001_3_7 ]\ntotal=00:00:06\nother=1\nq='x'\n"));
  const ProfileFile f(Path());
  EXPECT_EQ(f.ReadString(QStringLiteral("bob\t2001_3_7"), QStringLiteral("q"), {}),
            QStringLiteral("x"));
}

// Key lines split at the first "=" by default and at the last one where names may hold "="
// and values never do.
TEST_F(ProfileFileTest, SplitsKeyLinesAtTheChosenEquals) {
  Put("[s]\n/opt/ed=it = 00:00:09\n");
  const ProfileFile classic(Path());
  EXPECT_EQ(classic.Keys(QStringLiteral("s")), QStringList{QStringLiteral("/opt/ed")});
  EXPECT_EQ(classic.ReadString(QStringLiteral("s"), QStringLiteral("/opt/ed"), {}),
            QStringLiteral("it = 00:00:09"));
  {
    ProfileFile last(Path(), ProfileFile::KeySplit::LastEquals);
    EXPECT_EQ(last.Keys(QStringLiteral("s")), QStringList{QStringLiteral("/opt/ed=it")});
    EXPECT_EQ(last.ReadString(QStringLiteral("s"), QStringLiteral("/OPT/ED=IT"), {}),
              QStringLiteral("00:00:09"));
    last.WriteString(QStringLiteral("s"), QStringLiteral("/opt/ed=it"), QStringLiteral("00:00:10"));
    last.Commit();
  }
  EXPECT_EQ(Get(), QByteArray("[s]\n/opt/ed=it=00:00:10\n"));
}

// A write that fails reports the file and leaves the old one intact.
TEST_F(ProfileFileTest, FailedCommitKeepsOldFile) {
  Put("[s]\nk=1\n");
  ProfileFile f(Path());
  f.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("2"));
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner);
  const bool canStillWrite =
      QFile(dir_.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
  if (canStillWrite) {
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    GTEST_SKIP() << "running as a user that ignores permissions";
  }
  try {
    f.Commit();
    ADD_FAILURE() << "commit into a read-only folder succeeded";
  } catch (const core::Error& e) {
    EXPECT_TRUE(e.message().contains(QStringLiteral("test.ini"))) << e.message().toStdString();
  }
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(Get(), QByteArray("[s]\nk=1\n"));
}

}  // namespace
