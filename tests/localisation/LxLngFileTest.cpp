#include "LangFixture.h"
#include "core/FormatSettings.h"
#include "localisation/LxLngFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using localisation::ELangFileError;
using localisation::TLxLangFile;

namespace {

class LangFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString Put(const QString& name, const QByteArray& data) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(fixture::Write(path, data));
    return path;
  }
  QString Message(const QString& path) {
    try {
      TLxLangFile file(path);
    } catch (const ELangFileError& e) {
      return e.message();
    }
    return {};
  }
};

// A name gets ".lng" only when it has none anywhere, and a bare name lands in the current
// directory; any "/", "\" or ":" counts as a directory part.
TEST(LangFileName, Normalisation) {
  const QString cwd = QDir::currentPath();
  const struct {
    QString in, out;
  } cases[] = {
      {QStringLiteral("English"), cwd + QStringLiteral("/English.lng")},
      {QStringLiteral("my.lngx"), cwd + QStringLiteral("/my.lngx")},
      {QStringLiteral("NATIVE.LNG"), cwd + QStringLiteral("/NATIVE.LNG")},
      {QStringLiteral("/usr/share/Deutsch"), QStringLiteral("/usr/share/Deutsch.lng")},
      {QStringLiteral("C:\\Lang\\English.lng"), QStringLiteral("C:\\Lang\\English.lng")},
      {QStringLiteral("lang\\Dansk"), QStringLiteral("lang\\Dansk.lng")},
      {QStringLiteral("D:Polski"), QStringLiteral("D:Polski.lng")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TLxLangFile::NormaliseName(c.in), c.out) << c.in.toStdString();
}

// Missing and empty files are no error: the object is new and empty; an empty file stays open.
TEST_F(LangFileTest, MissingAndEmptyFilesAreNew) {
  TLxLangFile missing(dir.filePath(QStringLiteral("Nowhere")));
  EXPECT_TRUE(missing.IsNew());
  EXPECT_FALSE(missing.IsStreamOpen());
  EXPECT_EQ(missing.Count(), 0);
  EXPECT_EQ(missing.FontCount(), 0);
  EXPECT_EQ(missing.Charset(), 0);
  EXPECT_FALSE(missing.HasLocale());
  EXPECT_EQ(missing.Version(), 0);
  EXPECT_EQ(missing.FindByIdent(25), nullptr);
  EXPECT_EQ(missing.FindByProp(u"TformHoralog", u"Caption"), nullptr);

  TLxLangFile empty(Put(QStringLiteral("Empty.lng"), {}));
  EXPECT_TRUE(empty.IsNew());
  EXPECT_TRUE(empty.IsStreamOpen());

  // A directory of that name is as good as missing.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Folder.lng")));
  EXPECT_TRUE(TLxLangFile(dir.filePath(QStringLiteral("Folder.lng"))).IsNew());
}

// Other files fail with the format's messages, never with a crash.
TEST_F(LangFileTest, NotALanguageFile) {
  const QString notLang = QStringLiteral("Not a language file or old version (1.1)");
  EXPECT_EQ(Message(Put(QStringLiteral("a.lng"), "[Options]\r\n")), notLang);
  EXPECT_EQ(Message(Put(QStringLiteral("b.lng"), "L")), notLang);
  EXPECT_EQ(Message(Put(QStringLiteral("c.lng"), "lf3.10")), notLang);
  EXPECT_EQ(Message(Put(QStringLiteral("d.lng"), "LFx.10")),
            QStringLiteral("'x.10' is not a valid floating point value"));
  EXPECT_EQ(Message(Put(QStringLiteral("e.lng"), "LFinf\x01")),
            QStringLiteral("'inf\x01' is not a valid floating point value"));
  EXPECT_EQ(Message(Put(QStringLiteral("f.lng"), "LF3.")),
            QStringLiteral("Language file is damaged"));
}

// Each version reads its own layout: flag bytes from 3.10, the locale byte after 2.0, the
// reading direction ignored up to 2.0, 4-byte offsets after 1.5, path repair before 3.0.
TEST_F(LangFileTest, EveryVersionLayout) {
  const struct {
    const char* version;
    double number;
    bool flagsRead, bidiKept, repaired;
    int offsetWidth;
  } cases[] = {
      {"3.10", 3.1, true, true, false, 4},   {"3.00", 3.0, false, true, false, 4},
      {"2.90", 2.9, false, true, true, 4},   {"2.00", 2.0, false, false, true, 4},
      {"1.51", 1.51, false, false, true, 4}, {"1.50", 1.5, false, false, true, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    fixture::Layout s;
    s.version = c.version;
    s.fileFlags = 0x03;
    s.hasLocale = true;
    s.bidi = 1;
    s.charset = 238;
    s.fonts = {{"Tahoma", 8, 0x13}};
    s.aux = {"a1"};
    s.props = {{"TformMain", "Caption", 1},
               {"TformMain", "Memo1.Lines.Text", 2},
               {"TformMain", "Edit1.Text", 3}};
    s.strings = {{1, "Main", 0x05, 1}, {2, "one\r\ntwo"}, {3, "single"}, {4, std::nullopt}};
    TLxLangFile f(Put(QStringLiteral("Lang.lng"), fixture::Make(s)));
    EXPECT_FALSE(f.IsNew());
    EXPECT_DOUBLE_EQ(f.Version(), c.number);
    EXPECT_EQ(f.OffsetWidth(), c.offsetWidth);
    EXPECT_EQ(f.FileFlags(), c.flagsRead ? 0x03 : 0);
    EXPECT_TRUE(f.HasLocale());
    EXPECT_EQ(f.Locale().CurrencyString, "EUR");
    EXPECT_EQ(f.Locale().EraYearOffsets[6], 60);
    EXPECT_EQ(f.Locale().ListSeparator, ';');
    EXPECT_EQ(f.BiDiMode(), c.bidiKept ? 1 : 0);
    EXPECT_EQ(f.Charset(), 238);
    ASSERT_EQ(f.FontCount(), 1);
    EXPECT_EQ(f.Fonts(0).Name, "Tahoma");
    EXPECT_EQ(f.Fonts(0).Style, 0x13);
    EXPECT_EQ(f.AuxList(), QList<QByteArray>{"a1"});
    ASSERT_EQ(f.Count(), 4);
    EXPECT_EQ(f.Record(0).Flags, c.flagsRead ? 0x05 : 0);
    EXPECT_EQ(f.Record(0).FontIndex, 1);
    EXPECT_EQ(f.Record(3).Offset, -1);
    EXPECT_EQ(f.Record(3).Text, "");
    ASSERT_NE(f.FindByIdent(2), nullptr);
    EXPECT_TRUE(f.FindByIdent(2)->IsMultiLine());
    // Only a multi-line text's ".Text" is moved; a single-line Edit1.Text stays.
    EXPECT_EQ(f.FindByProp(u"TformMain", u"Memo1.Lines") != nullptr, c.repaired);
    EXPECT_EQ(f.FindByProp(u"TformMain", u"Memo1.Lines.Text") != nullptr, !c.repaired);
    EXPECT_NE(f.FindByProp(u"TformMain", u"Edit1.Text"), nullptr);
  }
}

// Files up to 2.0 always carry the locale block; later ones say so in a byte.
TEST_F(LangFileTest, LocalePresentByte) {
  fixture::Layout s;
  s.version = "2.50";
  s.hasLocale = true;
  s.localePresentByte = 7;  // any non-zero value
  EXPECT_TRUE(TLxLangFile(Put(QStringLiteral("x.lng"), fixture::Make(s))).HasLocale());
  s.hasLocale = false;
  EXPECT_FALSE(TLxLangFile(Put(QStringLiteral("y.lng"), fixture::Make(s))).HasLocale());
}

// Before flag bytes the native file was known by its name, in any case.
TEST_F(LangFileTest, NativeByName) {
  fixture::Layout s;
  s.version = "3.00";
  for (const char* name : {"native.lng", "NATIVE.LNG", "Native.lng"}) {
    EXPECT_TRUE(TLxLangFile(Put(QLatin1String(name), fixture::Make(s))).HasFileFlags(1)) << name;
    QFile::remove(dir.filePath(QLatin1String(name)));
  }
  EXPECT_FALSE(TLxLangFile(Put(QStringLiteral("nativex.lng"), fixture::Make(s))).HasFileFlags(1));
  // From 3.10 on only the flag byte counts.
  s.version = "3.10";
  EXPECT_FALSE(TLxLangFile(Put(QStringLiteral("native.lng"), fixture::Make(s))).HasFileFlags(1));
}

// A locale text longer than its room is read whole and cut; names are cut at a zero byte.
TEST_F(LangFileTest, CutStrings) {
  fixture::Layout s;
  s.hasLocale = true;
  s.currency = "ABCDEFGHIJKLMN";    // 14 > 10
  s.january = QByteArray(25, 'j');  // 25 > 20
  s.props = {{QByteArray("TformA\0junk", 11), QByteArray("Caption\0x", 9), 1}};
  s.strings = {{1, "A"}};
  TLxLangFile f(Put(QStringLiteral("cut.lng"), fixture::Make(s)));
  EXPECT_EQ(f.Locale().CurrencyString, "ABCDEFGHIJ");
  EXPECT_EQ(f.Locale().LongMonthNames[0], QByteArray(20, 'j'));
  EXPECT_EQ(f.Locale().LongMonthNames[1], "Month2");  // the rest is read in step
  ASSERT_NE(f.FindByProp(u"TformA", u"Caption"), nullptr);
  EXPECT_EQ(f.FindByProp(u"TformA", u"Caption")->Text(), "A");
}

// Two-byte offsets: 0xFFFF is "no text", as -1 is in the four-byte form.
TEST_F(LangFileTest, NarrowOffsets) {
  fixture::Layout s;
  s.version = "1.50";
  s.strings = {{1, "x"}, {2, std::nullopt}, {3, ""}};
  TLxLangFile f(Put(QStringLiteral("old.lng"), fixture::Make(s)));
  EXPECT_EQ(f.Record(0).Offset, 0);
  EXPECT_EQ(f.Record(1).Offset, -1);
  EXPECT_EQ(f.Record(2).Offset, 2);
  EXPECT_EQ(f.Record(2).Text, "");
}

// Downloaded files are untrusted: whatever claims more than the file holds is damaged.
TEST_F(LangFileTest, DamagedFiles) {
  fixture::Layout good;
  good.hasLocale = true;
  good.fonts = {{"Tahoma", 8, 0}};
  good.aux = {"aux"};
  good.props = {{"F", "P", 1}};
  good.strings = {{1, "text"}, {2, "more"}};
  const QByteArray full = fixture::Make(good);
  // Every cut of the file before its text pool ends early somewhere.
  const qsizetype poolStart = full.size() - 10;
  for (qsizetype n = 6; n < poolStart; ++n) {
    EXPECT_EQ(Message(Put(QStringLiteral("cut.lng"), full.left(n))),
              QStringLiteral("Language file is damaged"))
        << "cut at " << n;
  }
  const auto damaged = [&](fixture::Layout s, const char* what) {
    EXPECT_EQ(Message(Put(QStringLiteral("bad.lng"), fixture::Make(s))),
              QStringLiteral("Language file is damaged"))
        << what;
  };
  fixture::Layout s = good;
  s.strings[1].rawOffset = 10;  // the pool is 10 bytes
  damaged(s, "offset at the end of the pool");
  s.strings[1].rawOffset = -2;
  damaged(s, "negative offset");
  s.strings[1].rawOffset = 0x7FFFFFFF;
  damaged(s, "huge offset");
  // A font count beyond what follows.
  QByteArray bigFontCount = full;
  const qsizetype fontCountAt = bigFontCount.indexOf("Tahoma") - 5;
  bigFontCount[fontCountAt + 3] = char(0x40);
  EXPECT_EQ(Message(Put(QStringLiteral("fonts.lng"), bigFontCount)),
            QStringLiteral("Language file is damaged"));
  bigFontCount[fontCountAt + 3] = char(0x80);  // negative
  EXPECT_EQ(Message(Put(QStringLiteral("fonts.lng"), bigFontCount)),
            QStringLiteral("Language file is damaged"));
}

// A text that the end of the file cuts short ends there.
TEST_F(LangFileTest, UnterminatedLastText) {
  fixture::Layout s;
  s.strings = {{1, "abc"}};
  QByteArray data = fixture::Make(s);
  data.chop(1);
  TLxLangFile f(Put(QStringLiteral("t.lng"), data));
  EXPECT_EQ(f.Record(0).Text, "abc");
}

// The lookups halve the table, so a table out of order is sorted while loading.
TEST_F(LangFileTest, UnsortedTableIsSorted) {
  fixture::Layout s;
  s.strings = {{300, "c"}, {5, "a"}, {65535, "d"}, {20, "b"}};
  TLxLangFile f(Put(QStringLiteral("u.lng"), fixture::Make(s)));
  for (quint16 ident : {5, 20, 300, 65535}) {
    ASSERT_NE(f.FindByIdent(ident), nullptr) << ident;
    EXPECT_EQ(f.FindByIdent(ident)->Ident(), ident);
  }
  EXPECT_EQ(f.FindByIdent(6), nullptr);
  EXPECT_EQ(f.Record(0).Ident, 5);
}

// Every lookup returns the one cursor of the file, repositioned.
TEST_F(LangFileTest, SingleCursor) {
  fixture::Layout s;
  s.props = {{"TformA", "Caption", 1}, {"TformA", "btOk.Hint", 2}, {"TformB", "Caption", 3}};
  s.strings = {{1, "one"}, {2, "two"}};
  TLxLangFile f(Put(QStringLiteral("c.lng"), fixture::Make(s)));
  auto* a = f.FindByIdent(1);
  auto* b = f.FindByIdent(2);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->Text(), "two");
  EXPECT_EQ(f.Strings(0), a);
  EXPECT_EQ(a->Ident(), 1);
  EXPECT_EQ(f.Strings(2), nullptr);
  EXPECT_EQ(f.Strings(-1), nullptr);
  EXPECT_EQ(a->FormName(), QStringLiteral("TformA"));
  EXPECT_EQ(a->PropName(), QStringLiteral("Caption"));
  f.Strings(1)->SetPropName(QStringLiteral("btOk.Caption"));
  EXPECT_NE(f.FindByProp(u"TformA", u"btOk.Caption"), nullptr);
  EXPECT_EQ(f.FindByProp(u"TformA", u"btOk.Hint"), nullptr);
  EXPECT_EQ(f.FindByProp(u"TformC", u"Caption"), nullptr);
}

TEST_F(LangFileTest, TextsDecodeFromTheCharsetsCodePage) {
  const struct {
    quint8 charset;
    QByteArray bytes;
    QString text;
  } cases[] = {
      {0, "\x80 caf\xE9", QStringLiteral(u"€ café")},
      {204, "\xCF\xF0\xE8\xE2\xE5\xF2", QStringLiteral(u"Привет")},
      {238, "\xB9\xE6", QStringLiteral(u"ąć")},
      {161, "\xC1\xE8", QStringLiteral(u"Αθ")},
      {128, "\x93\xFA\x96\x7B", QStringLiteral(u"日本")},
      {77, "\xE9", QStringLiteral(u"é")},      // unknown sets are ANSI
      {0, "\x81", QStringLiteral(u"\u0081")},  // undefined in 1252, kept as its control
  };
  for (const auto& c : cases) {
    fixture::Layout s;
    s.charset = c.charset;
    s.strings = {{1, c.bytes}};
    TLxLangFile f(Put(QStringLiteral("cp.lng"), fixture::Make(s)));
    EXPECT_EQ(f.FindByIdent(1)->UnicodeText(), c.text) << int(c.charset);
  }
}

// The regional block replaces the process-wide formats.
TEST_F(LangFileTest, ApplyLocale) {
  const core::FormatSettings before = core::FormatSettings::Current();
  fixture::Layout s;
  s.hasLocale = true;
  s.currency = "\x80";
  TLxLangFile f(Put(QStringLiteral("loc.lng"), fixture::Make(s)));
  f.ApplyLocale();
  const core::FormatSettings& now = core::FormatSettings::Current();
  EXPECT_EQ(now.currencyString, QStringLiteral(u"€"));
  EXPECT_EQ(now.dateSeparator, u'.');
  EXPECT_EQ(now.decimalSeparator, u',');
  EXPECT_EQ(now.longMonthNames[0], QStringLiteral("Januar"));
  EXPECT_EQ(now.eraYearOffsets[3], 30);
  EXPECT_EQ(now.twoDigitYearCenturyWindow, 30);
  EXPECT_EQ(now.FormatDate(QDate(2024, 3, 7)), QStringLiteral("07.03.2024"));
  core::FormatSettings::SetCurrent(before);
}

}  // namespace
