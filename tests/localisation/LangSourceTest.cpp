#include "LangFixture.h"
#include "localisation/LangSource.h"
#include "localisation/LxLangEd.h"

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using localisation::BuildFromSource;
using localisation::DumpJson;
using localisation::DumpSource;
using localisation::ELangFileError;
using localisation::TLxLangFile;
using localisation::TLxLangFileEdit;

namespace {

const QString kSource = QStringLiteral(
    u"version 3.10\n"
    "flags 1\n"
    "charset 204\n"
    "bidimode 1\n"
    "\n"
    "locale\n"
    "  currencyString \"р.\"\n"
    "  dateSeparator \".\"\n"
    "  shortMonthNames \"янв\" \"фев\" \"мар\" \"апр\" \"май\" \"июн\" \"июл\" \"авг\" \"сен\" "
    "\"окт\" "
    "\"ноя\" \"дек\"\n"
    "  eraYearOffsets 0 1 2 3 4 5 -6\n"
    "  twoDigitYearCenturyWindow 50\n"
    "end\n"
    "font \"Tahoma\" 8 1\n"
    "aux \"first\"\n"
    "form \"TformMain\"\n"
    "  \"Caption\" 1\n"
    "  \"Memo1.Lines\" 2\n"
    "end\n"
    "string 1 \"Главное \\\"окно\\\"\\t\"\n"
    "string 2 font 1 <<<\n"
    "first line \n"
    "\n"
    "  third\n"
    ">>>\n"
    "string 3 flags 1 \"\"\n"
    "string 4 \"\\u0001 bell\"\n");

class LangSourceTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::unique_ptr<TLxLangFile> Build(const QString& source,
                                     const QString& name = QStringLiteral("s")) {
    auto f = TLxLangFileEdit::CreateBlank(dir.filePath(name));
    BuildFromSource(source, *f);
    f->Save();
    return std::make_unique<TLxLangFile>(dir.filePath(name));
  }
  QString BuildError(const QString& source) {
    auto f = TLxLangFileEdit::CreateBlank(dir.filePath(QStringLiteral("err")));
    try {
      BuildFromSource(source, *f);
    } catch (const ELangFileError& e) {
      return e.message();
    }
    return {};
  }
};

// Building a source and dumping the file gives the source back, block texts included.
TEST_F(LangSourceTest, BuildThenDumpGivesTheSourceBack) {
  const auto f = Build(kSource);
  EXPECT_EQ(f->Charset(), 204);
  EXPECT_EQ(f->FindByIdent(1)->Text(),
            QByteArray("\xc3\xeb\xe0\xe2\xed\xee\xe5 \"\xee\xea\xed\xee\"\t"));
  EXPECT_EQ(f->FindByIdent(2)->Text(), "first line \r\n\r\n  third");
  EXPECT_EQ(f->Locale().EraYearOffsets[6], -6);
  const QString dumped = DumpSource(*f);
  // A dump shows every locale setting; those the source left out have their defaults.
  EXPECT_TRUE(dumped.contains(QStringLiteral("  currencyString \"р.\"\n")));
  EXPECT_TRUE(
      dumped.contains(QStringLiteral("string 2 font 1 <<<\nfirst line \n\n  third\n>>>\n")));
  EXPECT_TRUE(dumped.contains(QStringLiteral("string 4 \"\\u0001 bell\"\n")));
  // and the dump builds the same file again
  const auto again = Build(dumped, QStringLiteral("again"));
  EXPECT_EQ(DumpSource(*again), dumped);
  QFile a(f->FileName()), b(again->FileName());
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());
}

// Files from other tools (every older layout) dump and build to the same content.
TEST_F(LangSourceTest, DumpOfEveryLayoutBuildsTheSameContent) {
  for (const auto& [name, data] : fixture::Seeds()) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_TRUE(fixture::Write(dir.filePath(name), data));
    TLxLangFile original(dir.filePath(name));
    const auto rebuilt = Build(DumpSource(original), QStringLiteral("re") + name);
    QJsonObject a = QJsonDocument::fromJson(DumpJson(original)).object();
    QJsonObject b = QJsonDocument::fromJson(DumpJson(*rebuilt)).object();
    // What Save normalises: the version, offsets, and texts of records without one.
    for (QJsonObject* o : {&a, &b}) {
      o->remove(QStringLiteral("version"));
      QJsonArray strings = (*o)[QStringLiteral("strings")].toArray();
      for (auto s : strings) {
        QJsonObject r = s.toObject();
        r.remove(QStringLiteral("offset"));
        s = r;
      }
      (*o)[QStringLiteral("strings")] = strings;
    }
    EXPECT_EQ(a, b);
  }
}

TEST_F(LangSourceTest, Errors) {
  const struct {
    QString source, message;
  } cases[] = {
      {QStringLiteral("string 5 \"Ω\""),
       QStringLiteral(
           "line 1: the text of ident 5 has a character that code page 1252 cannot hold")},
      {QStringLiteral("string 1 \"a\"\nstring 1 \"b\""),
       QStringLiteral("line 2: ident 1 is given twice")},
      {QStringLiteral("string 70000 \"a\""),
       QStringLiteral("line 1: an ident must be a number from 0 to 65535")},
      {QStringLiteral("\nstring 1 \"open"), QStringLiteral("line 2: a quoted text is not closed")},
      {QStringLiteral("string 1 <<<\nno end"),
       QStringLiteral("line 1: the text has no closing >>>")},
      {QStringLiteral("locale\n  currencyString \"ELEVEN CHARS\"\nend"),
       QStringLiteral("line 2: currencyString is longer than 10 bytes")},
      {QStringLiteral("locale\n  colour \"red\"\nend"),
       QStringLiteral("line 2: unknown locale setting colour")},
      {QStringLiteral("form \"F\"\n  \"Caption\" 1\n"),
       QStringLiteral("line 3: a block has no \"end\"")},
      {QStringLiteral("frobnicate"), QStringLiteral("line 1: unknown keyword frobnicate")},
      {QStringLiteral("string 1 \"a\\u00\""),
       QStringLiteral("line 1: \\u needs four hexadecimal digits")},
      {QStringLiteral("string 1 \"a\\u0000b\""),
       QStringLiteral("line 1: the text of ident 1 contains a zero character")},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildError(c.source), c.message) << c.source.toStdString();
}

// The JSON dump names every field; a missing locale is null.
TEST_F(LangSourceTest, JsonFields) {
  const auto f = Build(kSource);
  const QJsonObject o = QJsonDocument::fromJson(DumpJson(*f)).object();
  EXPECT_DOUBLE_EQ(o[QStringLiteral("version")].toDouble(), 3.1);
  EXPECT_EQ(o[QStringLiteral("isNew")].toBool(), false);
  EXPECT_EQ(o[QStringLiteral("native")].toBool(), true);
  EXPECT_EQ(o[QStringLiteral("fileFlags")].toInt(), 1);
  EXPECT_EQ(o[QStringLiteral("bidiMode")].toInt(), 1);
  const QJsonObject l = o[QStringLiteral("locale")].toObject();
  EXPECT_EQ(l.size(), 22);
  EXPECT_EQ(l[QStringLiteral("shortMonthNames")].toArray().size(), 12);
  EXPECT_EQ(l[QStringLiteral("shortMonthNames")].toArray()[0].toString(), QStringLiteral(u"янв"));
  EXPECT_EQ(l[QStringLiteral("eraYearOffsets")].toArray()[6].toInt(), -6);
  EXPECT_EQ(o[QStringLiteral("fonts")].toArray()[0].toObject()[QStringLiteral("name")].toString(),
            QStringLiteral("Tahoma"));
  EXPECT_EQ(o[QStringLiteral("aux")].toArray()[0].toString(), QStringLiteral("first"));
  const QJsonObject form = o[QStringLiteral("props")].toArray()[0].toObject();
  EXPECT_EQ(form[QStringLiteral("form")].toString(), QStringLiteral("TformMain"));
  EXPECT_EQ(
      form[QStringLiteral("entries")].toArray()[1].toObject()[QStringLiteral("path")].toString(),
      QStringLiteral("Memo1.Lines"));
  const QJsonObject s = o[QStringLiteral("strings")].toArray()[2].toObject();
  EXPECT_EQ(s[QStringLiteral("ident")].toInt(), 3);
  EXPECT_EQ(s[QStringLiteral("flags")].toInt(), 1);
  EXPECT_GE(s[QStringLiteral("offset")].toInt(), 0);

  const auto plain = Build(QStringLiteral("string 1 flags 1 \"dropped\"\n"), QStringLiteral("p"));
  const QJsonObject p = QJsonDocument::fromJson(DumpJson(*plain)).object();
  EXPECT_TRUE(p[QStringLiteral("locale")].isNull());
  EXPECT_EQ(p[QStringLiteral("strings")].toArray()[0].toObject()[QStringLiteral("offset")].toInt(),
            -1);
  EXPECT_TRUE(DumpSource(*plain).contains(QStringLiteral("string 1 flags 1 none\n")));
}

}  // namespace
