#include "core/FormStorage.h"

#include <gtest/gtest.h>
#include <QSettings>

namespace {

using core::FormStorage;

class FormStorageTest : public ::testing::Test {
 protected:
  void SetUp() override { FormStorage::OpenSettings()->clear(); }
};

// Values are named component_property; lists live in their own subkey with Count and Item%d,
// and an empty list writes nothing there.
TEST_F(FormStorageTest, LayoutOfValuesAndLists) {
  {
    FormStorage s;
    s.Write(QStringLiteral("edUser.Text"), QStringLiteral("anna"));
    s.WriteStrings(QStringLiteral("slCountDownComment.Strings"),
                   {QStringLiteral("tea"), QStringLiteral("call mum")});
    s.Sync();
  }
  auto raw = FormStorage::OpenSettings();
  EXPECT_EQ(raw->value(QStringLiteral("Options/edUser_Text")).toString(), QStringLiteral("anna"));
  EXPECT_EQ(raw->value(QStringLiteral("Options.slCountDownComment_Strings/Count")).toString(),
            QStringLiteral("2"));
  EXPECT_EQ(raw->value(QStringLiteral("Options.slCountDownComment_Strings/Item1")).toString(),
            QStringLiteral("call mum"));
  FormStorage s;
  EXPECT_EQ(s.ReadStrings(QStringLiteral("slCountDownComment.Strings")),
            QStringList({QStringLiteral("tea"), QStringLiteral("call mum")}));
  s.WriteStrings(QStringLiteral("slCountDownComment.Strings"), {});
  s.Sync();
  EXPECT_FALSE(s.ReadStrings(QStringLiteral("slCountDownComment.Strings")).has_value());
  EXPECT_FALSE(FormStorage::OpenSettings()->contains(
      QStringLiteral("Options.slCountDownComment_Strings/Count")));
}

// A list whose Count is missing or zero keeps the current list; missing items read as empty.
TEST_F(FormStorageTest, ListRestoreRules) {
  auto raw = FormStorage::OpenSettings();
  raw->setValue(QStringLiteral("Options.l_Strings/Count"), QStringLiteral(" 3 "));
  raw->setValue(QStringLiteral("Options.l_Strings/Item0"), QStringLiteral("a"));
  raw->setValue(QStringLiteral("Options.l_Strings/Item2"), QStringLiteral("c"));
  raw->setValue(QStringLiteral("Options.z_Strings/Count"), QStringLiteral("0"));
  raw->sync();
  FormStorage s;
  EXPECT_EQ(s.ReadStrings(QStringLiteral("l.Strings")),
            QStringList({QStringLiteral("a"), QString(), QStringLiteral("c")}));
  EXPECT_FALSE(s.ReadStrings(QStringLiteral("z.Strings")).has_value());
}

// The placement keeps the normal rectangle as left, top, right, bottom, also per resolution.
TEST_F(FormStorageTest, PlacementRoundTrip) {
  {
    FormStorage s;
    s.WritePlacement(QRect(10, 20, 132, 78), QSize(1280, 800), true);
    s.Sync();
  }
  auto raw = FormStorage::OpenSettings();
  EXPECT_EQ(raw->value(QStringLiteral("Options/NormPos")).toString(),
            QStringLiteral("10,20,142,98"));
  EXPECT_EQ(raw->value(QStringLiteral("Options/NormPos(1280x800)")).toString(),
            QStringLiteral("10,20,142,98"));
  EXPECT_EQ(raw->value(QStringLiteral("Options/Visible")).toString(), QStringLiteral("1"));
  EXPECT_EQ(FormStorage().ReadPlacement(), QRect(10, 20, 132, 78));
  raw->setValue(QStringLiteral("Options/NormPos"), QStringLiteral("1,2,x,4"));
  raw->sync();
  EXPECT_FALSE(FormStorage().ReadPlacement().has_value());
}

TEST_F(FormStorageTest, BooleanTexts) {
  EXPECT_EQ(FormStorage::FromBool(true), QStringLiteral("True"));
  EXPECT_EQ(FormStorage::ToBool(QStringLiteral(" false ")), false);
  EXPECT_FALSE(FormStorage::ToBool(QStringLiteral("1")).has_value());
}

}  // namespace
