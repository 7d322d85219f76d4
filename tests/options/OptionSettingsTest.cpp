#include "options/OptionSettings.h"

#include <gtest/gtest.h>
#include <QSettings>

namespace {

using options::OptionSettings;

// Stored values replace the defaults; texts are trimmed, numbers kept within their range, and
// what cannot be converted keeps the default.
TEST(OptionSettingsTest, RestoreRules) {
  core::FormStorage::OpenSettings()->clear();
  OptionSettings o;
  EXPECT_EQ(o.Int(QStringLiteral("edSaveTime.Value")), 5);
  EXPECT_TRUE(o.Bool(QStringLiteral("cbAutoHide.Checked")));
  EXPECT_FALSE(o.Bool(QStringLiteral("cbAutoStartTimer.Checked")));
  {
    core::FormStorage s;
    s.Write(QStringLiteral("edSaveTime.Value"), QStringLiteral("99999"));
    s.Write(QStringLiteral("cbAutoHide.Checked"), QStringLiteral("maybe"));
    s.Write(QStringLiteral("cbAutoStartTimer.Checked"), QStringLiteral("True"));
    s.Write(QStringLiteral("edRemindEveryMessage.Text"), QStringLiteral("  stretch  "));
    s.Sync();
  }
  o.Restore(core::FormStorage());
  EXPECT_EQ(o.Int(QStringLiteral("edSaveTime.Value")), 10000);
  EXPECT_TRUE(o.Bool(QStringLiteral("cbAutoHide.Checked")));
  EXPECT_TRUE(o.Bool(QStringLiteral("cbAutoStartTimer.Checked")));
  EXPECT_EQ(o.Text(QStringLiteral("edRemindEveryMessage.Text")), QStringLiteral("stretch"));
}

// All 19 values are written, under their component_property names.
TEST(OptionSettingsTest, SavesWholeTable) {
  core::FormStorage::OpenSettings()->clear();
  OptionSettings o;
  core::FormStorage s;
  o.Save(s);
  s.Sync();
  auto raw = core::FormStorage::OpenSettings();
  raw->beginGroup(QStringLiteral("Options"));
  EXPECT_EQ(raw->childKeys().size(), 19);
  EXPECT_EQ(raw->value(QStringLiteral("edRemindDoneMessage_Text")).toString(),
            QStringLiteral("You have worked enough. Take a rest for today"));
  EXPECT_EQ(options::OptionTable().size(), 19u);
}

}  // namespace
