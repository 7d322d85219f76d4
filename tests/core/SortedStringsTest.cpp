#include "core/SortedStrings.h"

#include <gtest/gtest.h>

namespace {

using core::FindTabKey;
using core::SortedStrings;

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

// Lines sort ignoring case; a list that ignores duplicates keeps the first form it was given.
TEST(SortedStringsTest, SortsIgnoringCaseAndIgnoresDuplicates) {
  SortedStrings users(SortedStrings::Duplicates::Ignore, kEnglish);
  for (const char* name : {"bob", "Anna", "ANNA", "carl", "anna"})
    users.Add(QString::fromLatin1(name));
  EXPECT_EQ(users.lines(),
            QStringList({QStringLiteral("Anna"), QStringLiteral("bob"), QStringLiteral("carl")}));
}

// A list that accepts duplicates keeps every line; Find and FindTabKey then give the lowest
// matching position.
TEST(SortedStringsTest, FindsFirstOfDuplicates) {
  SortedStrings list(SortedStrings::Duplicates::Accept, kEnglish);
  list.Assign({QStringLiteral("b\tx\t1"), QStringLiteral("a\tone\t1"), QStringLiteral("A\tone\t1"),
               QStringLiteral("a\tone\t1"), QStringLiteral("c\tz\t1")});
  ASSERT_EQ(list.size(), 5);
  qsizetype index = -1;
  EXPECT_TRUE(list.Find(QStringLiteral("A\tONE\t1"), index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(FindTabKey(list, QStringLiteral("a"), index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(FindTabKey(list, QStringLiteral("C"), index));
  EXPECT_EQ(index, 4);
  EXPECT_FALSE(FindTabKey(list, QStringLiteral("bb"), index));
  EXPECT_EQ(index, 4);  // where it would go
  EXPECT_FALSE(FindTabKey(list, QStringLiteral("zz"), index));
  EXPECT_EQ(index, 5);
}

// Lines without a TAB have an empty key; an empty list finds nothing at position 0.
TEST(SortedStringsTest, FindTabKeyEdges) {
  SortedStrings list(SortedStrings::Duplicates::Ignore, kEnglish);
  qsizetype index = -1;
  EXPECT_FALSE(FindTabKey(list, QStringLiteral("a"), index));
  EXPECT_EQ(index, 0);
  list.Add(QStringLiteral("notab"));
  EXPECT_TRUE(FindTabKey(list, QString(), index));
  EXPECT_FALSE(FindTabKey(list, QStringLiteral("notab"), index));
}

}  // namespace
