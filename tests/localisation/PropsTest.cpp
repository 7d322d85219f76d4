#include "localisation/LxLngFile.h"

#include <gtest/gtest.h>

using localisation::ELangFileError;
using localisation::TLxLangProps;

namespace {

// A path filed twice under one form keeps one entry with the later ident; lookups ignore case.
TEST(LangProps, DuplicatesAndCase) {
  TLxLangProps p;
  p.Add(QStringLiteral("TformMain"), QStringLiteral("Caption"), 1);
  p.Add(QStringLiteral("TFORMMAIN"), QStringLiteral("caption"), 2);
  p.Add(QStringLiteral("TformMain"), QStringLiteral("btStart.Hint"), 3);
  ASSERT_EQ(p.FormCount(), 1);
  EXPECT_EQ(p.FormProps(0).size(), 2u);
  ASSERT_TRUE(p.Find(u"tformmain", u"CAPTION"));
  EXPECT_EQ(p.CurIdent(), 2);
  EXPECT_EQ(p.CurFormName(), QStringLiteral("TformMain"));
  EXPECT_FALSE(p.Find(u"TformMain", u"Missing"));
  EXPECT_EQ(p.CurFormName(), QStringLiteral("TformMain"));  // the form stays current
  EXPECT_THROW(p.CurIdent(), ELangFileError);
  EXPECT_FALSE(p.Find(u"TformOther", u"Caption"));
  EXPECT_EQ(p.CurFormName(), QString());
  try {
    p.CurIdent();
  } catch (const ELangFileError& e) {
    EXPECT_EQ(e.message(), QStringLiteral("No such property"));
  }
}

TEST(LangProps, SortedFormsAndPaths) {
  TLxLangProps p;
  for (const char* form : {"Zeta", "alpha", "Beta"})
    for (const char* path : {"z", "A", "m"}) p.Add(QLatin1String(form), QLatin1String(path), 0);
  ASSERT_EQ(p.FormCount(), 3);
  EXPECT_EQ(p.FormAt(0).Name, QStringLiteral("alpha"));
  EXPECT_EQ(p.FormAt(1).Name, QStringLiteral("Beta"));
  EXPECT_EQ(p.FormAt(2).Name, QStringLiteral("Zeta"));
  EXPECT_EQ(p.FormProps(0)[0].Path, QStringLiteral("A"));
  EXPECT_EQ(p.FormProps(0)[2].Path, QStringLiteral("z"));
}

TEST(LangProps, FindIdentRenameDelete) {
  TLxLangProps p;
  p.Add(QStringLiteral("B"), QStringLiteral("x"), 7);
  p.Add(QStringLiteral("A"), QStringLiteral("y"), 7);
  p.Add(QStringLiteral("A"), QStringLiteral("z"), 8);
  // The first entry in sorted order wins.
  ASSERT_TRUE(p.FindIdent(7));
  EXPECT_EQ(p.CurFormName(), QStringLiteral("A"));
  EXPECT_EQ(p.CurPropName(), QStringLiteral("y"));
  p.RenameCurProp(QStringLiteral("zz"));
  EXPECT_EQ(p.CurPropName(), QString());
  EXPECT_EQ(p.CurFormName(), QStringLiteral("A"));
  EXPECT_EQ(p.FormProps(0).back().Path, QStringLiteral("zz"));
  // Renaming onto a path that exists keeps one entry, carrying the renamed ident.
  ASSERT_TRUE(p.Find(u"A", u"zz"));
  p.RenameCurProp(QStringLiteral("Z"));
  ASSERT_EQ(p.FormProps(0).size(), 1u);
  EXPECT_EQ(p.FormProps(0)[0].Ident, 7);
  // An empty name deletes.
  ASSERT_TRUE(p.Find(u"B", u"x"));
  p.RenameCurProp(QString());
  EXPECT_FALSE(p.Find(u"B", u"x"));
  EXPECT_FALSE(p.FindIdent(99));
  p.DeleteCurProp();  // nothing under the cursor: nothing happens
  EXPECT_EQ(p.EntryCount(), 1);
}

}  // namespace
