#include "LangFixture.h"
#include "localisation/LangString.h"
#include "localisation/LxLngFile.h"

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using localisation::TLxLangFile;

namespace {

QString Bin(const QString& name) { return qEnvironmentVariable("HORALOG_BIN") + u'/' + name; }

struct ToolRun {
  int status = -1;
  QByteArray out, err;
};

ToolRun Tool(const QStringList& args) {
  QProcess p;
  p.start(Bin(QStringLiteral("lngtool")), args);
  ToolRun r;
  if (!p.waitForFinished(30000)) return r;
  r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

// A file that fails to load: exit status 1 and the loader's message.
TEST(LngTool, FailingFiles) {
  QTemporaryDir dir;
  const QString bad = dir.filePath(QStringLiteral("bad.lng"));
  ASSERT_TRUE(fixture::Write(bad, "MZ\x90\x00"));
  for (const QStringList& args :
       {QStringList{QStringLiteral("dump"), bad},
        QStringList{QStringLiteral("dump"), QStringLiteral("--json"), bad},
        QStringList{QStringLiteral("resave"), bad, bad + u'2'}}) {
    const ToolRun r = Tool(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Not a language file or old version (1.1)\n");
    EXPECT_TRUE(r.out.isEmpty());
  }
  const QString cut = dir.filePath(QStringLiteral("cut.lng"));
  ASSERT_TRUE(fixture::Write(cut, "LF3.10\x01"));
  EXPECT_EQ(Tool({QStringLiteral("dump"), cut}).err, "Language file is damaged\n");
  const ToolRun missing = Tool({QStringLiteral("dump"), dir.filePath(QStringLiteral("none.lng"))});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.err.contains("no such file"));
  const ToolRun usage = Tool({QStringLiteral("frobnicate")});
  EXPECT_EQ(usage.status, 2);
}

// Help asked for goes to stdout with status 0; a wrong call shows the usage on stderr with 2.
TEST(LngTool, HelpAndWrongCalls) {
  const QStringList asked[] = {{QStringLiteral("--help")},
                               {QStringLiteral("-h")},
                               {QStringLiteral("dump"), QStringLiteral("--help")}};
  for (const QStringList& args : asked) {
    SCOPED_TRACE(args.join(u' ').toStdString());
    const ToolRun r = Tool(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("usage: lngtool dump")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("resave")) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  }
  const QStringList wrong[] = {{},
                               {QStringLiteral("frobnicate")},
                               {QStringLiteral("dump")},
                               {QStringLiteral("build"), QStringLiteral("in.txt")},
                               {QStringLiteral("resave"), QStringLiteral("a.lng")}};
  for (const QStringList& args : wrong) {
    SCOPED_TRACE(args.join(u' ').toStdString());
    const ToolRun r = Tool(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith("usage: lngtool")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
  }
}

// dump, build and resave through the real program, on a file made by another tool.
TEST(LngTool, DumpBuildResave) {
  QTemporaryDir dir;
  const auto seeds = fixture::Seeds();
  const QString old = dir.filePath(QStringLiteral("old.lng"));
  ASSERT_TRUE(fixture::Write(old, seeds.back().second));  // 1.50
  const ToolRun dump = Tool({QStringLiteral("dump"), old});
  ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
  const QString source = dir.filePath(QStringLiteral("src.txt"));
  ASSERT_TRUE(fixture::Write(source, dump.out));
  const QString built = dir.filePath(QStringLiteral("built.lng"));
  const ToolRun build = Tool({QStringLiteral("build"), source, QStringLiteral("-o"), built});
  ASSERT_EQ(build.status, 0) << build.err.toStdString();
  const QString resaved = dir.filePath(QStringLiteral("resaved.lng"));
  ASSERT_EQ(Tool({QStringLiteral("resave"), old, resaved}).status, 0);
  QFile a(built), b(resaved);
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());
  const QJsonObject json =
      QJsonDocument::fromJson(Tool({QStringLiteral("dump"), QStringLiteral("--json"), built}).out)
          .object();
  EXPECT_DOUBLE_EQ(json[QStringLiteral("version")].toDouble(), 3.1);

  // A build error names the source line and the ident.
  ASSERT_TRUE(fixture::Write(source, "charset 204\nstring 9 \"\xc3\xa9\"\n"));
  const ToolRun bad = Tool({QStringLiteral("build"), source, QStringLiteral("-o"), built});
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(bad.err.contains("src.txt:line 2: the text of ident 9")) << bad.err.toStdString();
}

// The shipped languages are built beside the programs; native.lng holds the designed English
// texts, and each translation has every numbered string and a regional block.
TEST(ShippedLanguages, NativeAndTranslations) {
  const int idents[] = {25,  26,  27,  28,  29,  30,  31,  35,  100, 101, 102, 103,
                        104, 146, 147, 148, 149, 150, 151, 152, 153, 154, 155, 156};
  TLxLangFile native(Bin(QStringLiteral("native.lng")));
  ASSERT_FALSE(native.IsNew());
  EXPECT_TRUE(native.HasFileFlags(TLxLangFile::kNativeFlag));
  EXPECT_EQ(native.Count(), qsizetype(std::size(idents)));
  for (int ident : idents) {
    const auto* s = native.FindByIdent(quint16(ident));
    ASSERT_NE(s, nullptr) << ident;
    EXPECT_EQ(s->UnicodeText(), localisation::DefaultLangString(ident)) << ident;
  }
  for (const char* name : {"Deutsch.lng", "Francais.lng"}) {
    SCOPED_TRACE(name);
    TLxLangFile lang(Bin(QLatin1String(name)));
    ASSERT_FALSE(lang.IsNew());
    EXPECT_FALSE(lang.HasFileFlags(TLxLangFile::kNativeFlag));
    EXPECT_TRUE(lang.HasLocale());
    EXPECT_FALSE(lang.Locale().LongMonthNames[11].isEmpty());
    for (int ident : idents) {
      const auto* s = lang.FindByIdent(quint16(ident));
      ASSERT_NE(s, nullptr) << ident;
      EXPECT_FALSE(s->Text().isEmpty()) << ident;
    }
  }
}

}  // namespace
