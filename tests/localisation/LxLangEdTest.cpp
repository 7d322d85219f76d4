#include "LangFixture.h"
#include "localisation/LxLangEd.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

using localisation::ELangFileError;
using localisation::TLxIdentRec;
using localisation::TLxLangFile;
using localisation::TLxLangFileEdit;

namespace {

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class LangEditTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("Lang.lng"));

  fixture::Layout Full() const {
    fixture::Layout s;
    s.hasLocale = true;
    s.bidi = 2;
    s.charset = 204;
    s.fonts = {{"Tahoma", 8, 1}, {"Courier", 12, 0xF6}};
    s.aux = {"aux one", ""};
    s.props = {
        {"TformA", "Caption", 1}, {"TformA", "Memo1.Lines.Text", 2}, {"TformB", "l1.Caption", 3}};
    s.strings = {{1, "\xCF\xF0\xE8"},
                 {2, "a\r\nb"},
                 {3, ""},
                 {4, "given elsewhere", 1, 2},
                 {5, std::nullopt}};
    return s;
  }
};

// Saving and loading again gives every field back; the version becomes 3.10. In a file that is
// not native the records marked as not given lose their texts.
TEST_F(LangEditTest, RoundTripOfEveryField) {
  for (bool native : {false, true}) {
    SCOPED_TRACE(native ? "native" : "translation");
    ASSERT_TRUE(fixture::Write(path, fixture::Make(Full())));
    TLxLangFileEdit before(path);
    before.SetFileFlags(TLxLangFile::kNativeFlag, native);
    before.Save();
    EXPECT_FALSE(before.IsStreamOpen());
    TLxLangFile after(path);
    EXPECT_DOUBLE_EQ(after.Version(), 3.1);
    EXPECT_EQ(after.FileFlags(), before.FileFlags());
    EXPECT_EQ(after.HasLocale(), true);
    EXPECT_TRUE(after.Locale() == before.Locale());
    EXPECT_EQ(after.BiDiMode(), before.BiDiMode());
    EXPECT_EQ(after.Charset(), 204);
    ASSERT_EQ(after.FontCount(), 2);
    EXPECT_EQ(after.Fonts(1).Name, "Courier");
    EXPECT_EQ(after.Fonts(1).Size, 12);
    EXPECT_EQ(after.Fonts(1).Style, 0xF6);
    EXPECT_EQ(after.AuxList(), before.AuxList());
    ASSERT_EQ(after.Props().FormCount(), 2);
    for (qsizetype f = 0; f < 2; ++f) {
      ASSERT_EQ(after.Props().FormProps(f).size(), before.Props().FormProps(f).size());
      for (size_t e = 0; e < after.Props().FormProps(f).size(); ++e) {
        EXPECT_EQ(after.Props().FormProps(f)[e].Path, before.Props().FormProps(f)[e].Path);
        EXPECT_EQ(after.Props().FormProps(f)[e].Ident, before.Props().FormProps(f)[e].Ident);
      }
    }
    EXPECT_NE(after.FindByProp(u"TformA", u"Memo1.Lines.Text"), nullptr);
    ASSERT_EQ(after.Count(), 5);
    for (qsizetype i = 0; i < 5; ++i) {
      EXPECT_EQ(after.Record(i).Ident, before.Record(i).Ident);
      EXPECT_EQ(after.Record(i).Flags, before.Record(i).Flags);
      EXPECT_EQ(after.Record(i).FontIndex, before.Record(i).FontIndex);
      EXPECT_EQ(after.Record(i).Offset, before.Record(i).Offset);  // updated by Save
    }
    EXPECT_EQ(after.FindByIdent(1)->UnicodeText(), QStringLiteral(u"При"));
    EXPECT_EQ(after.FindByIdent(4)->Text(), native ? QByteArray("given elsewhere") : QByteArray());
    EXPECT_EQ(after.FindByIdent(4)->HasFlags(1), true);
    // A record without a text is written with one; an empty text is one zero byte.
    EXPECT_GE(after.FindByIdent(5)->Rec().Offset, 0);
    EXPECT_GE(after.FindByIdent(3)->Rec().Offset, 0);
    EXPECT_EQ(after.FindByIdent(3)->Text(), "");
  }
}

// What Save writes, byte for byte, for a small native file.
TEST_F(LangEditTest, WrittenLayout) {
  auto f = TLxLangFileEdit::CreateBlank(path);
  EXPECT_TRUE(f->IsNew());
  f->SetFileFlags(1, true);
  TLxIdentRec a;
  a.Ident = 7;
  a.Text = "hi";
  TLxIdentRec b;
  b.Ident = 3;
  b.Flags = 1;
  ASSERT_TRUE(f->AddString(a));
  ASSERT_TRUE(f->AddString(b));
  EXPECT_FALSE(f->AddString(b));
  f->Save();
  EXPECT_FALSE(f->IsNew());
  const QByteArray expected = QByteArray("LF3.10\x01\x00\x00", 9) + QByteArray(10, '\0') +
                              QByteArray("\x00\x00\x00\x00\x00", 5) + QByteArray(20, '\0') +
                              QByteArray("\x00\x00\x00\x00\x02\x00", 6) +
                              QByteArray("\x01\x03\x00\x00\x00\x00\x00\x00\x00", 9) +
                              QByteArray("\x00\x07\x00\x01\x00\x00\x00\x00\x00", 9) +
                              QByteArray("\x00hi\x00", 4);
  EXPECT_EQ(Read(path).toHex(' '), expected.toHex(' '));
}

// Nobody rewrites a language that is loaded: not another object of this program, not another
// process. The file stays as it was.
TEST_F(LangEditTest, SaveFailsWhileLoaded) {
  ASSERT_TRUE(fixture::Write(path, fixture::Make(Full())));
  const QByteArray original = Read(path);
  TLxLangFileEdit editor(path);
  {
    TLxLangFile reader(path);
    try {
      editor.Save();
      FAIL() << "saved over a loaded file";
    } catch (const ELangFileError& e) {
      EXPECT_EQ(e.message(),
                QStringLiteral("Language file is already opened by other application"));
    }
    EXPECT_EQ(Read(path), original);
  }
  // Another process holds it.
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(release[1]);
    TLxLangFile reader(path);
    char c = reader.IsStreamOpen() ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    (void)!read(release[0], &c, 1);
    _exit(0);
  }
  close(release[0]);
  close(ready[1]);
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  EXPECT_THROW(editor.Save(), ELangFileError);
  EXPECT_EQ(Read(path), original);
  close(release[1]);
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);
  // Once nobody holds it, saving works, also while the editor itself had it loaded.
  TLxLangFileEdit again(path);
  EXPECT_TRUE(again.IsStreamOpen());
  again.Save();
  EXPECT_NE(Read(path), original);
  // A saved file that is being loaded elsewhere in the meantime is not locked by the writer.
  EXPECT_TRUE(TLxLangFile(path).IsStreamOpen());
}

// What the layout cannot hold is refused before the disk is touched.
TEST_F(LangEditTest, RefusesWhatTheFormatCannotHold) {
  ASSERT_TRUE(fixture::Write(path, "old content"));
  const auto refused = [&](auto change, const char* what) {
    auto f = TLxLangFileEdit::CreateBlank(path);
    change(*f);
    EXPECT_THROW(f->Save(), ELangFileError) << what;
    EXPECT_EQ(Read(path), "old content") << what;
  };
  refused([](TLxLangFileEdit& f) { f.AuxList().append(QByteArray(256, 'a')); }, "long aux");
  refused([](TLxLangFileEdit& f) { f.Props().Add(QString(256, u'F'), QStringLiteral("p"), 1); },
          "long form name");
  refused(
      [](TLxLangFileEdit& f) {
        TLxIdentRec r;
        r.Text = QByteArray("a\0b", 3);
        f.AddString(r);
      },
      "zero in a text");
  refused(
      [](TLxLangFileEdit& f) {
        f.SetHasLocale(true);
        f.Locale().CurrencyString = "ELEVEN CHARS";
      },
      "long currency");
  refused(
      [](TLxLangFileEdit& f) { f.Props().Add(QStringLiteral(u"Форма"), QStringLiteral("p"), 1); },
      "form name outside the code page");
}

}  // namespace
