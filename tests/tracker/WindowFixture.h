#pragma once

#include "core/FormStorage.h"
#include "core/FormatSettings.h"
#include "options/OptionSettings.h"
#include "platform/fake/FakeDesktop.h"
#include "tracker/TformHoralog.h"

#include "../support/FakeClock.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A main window over a fake desktop and clock, in a folder of its own, with empty settings.
class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
    core::FormStorage::OpenSettings()->clear();
    desktop_.logOnName = QStringLiteral("anna");
  }
  void TearDown() override { window_.reset(); }

  // Creates and shows the window, and runs its first activation.
  tracker::TformHoralog& Start() {
    window_.reset();
    window_ = std::make_unique<tracker::TformHoralog>(desktop_, clock_, options_, dir_.path(),
                                                      dir_.path());
    window_->show();
    QApplication::processEvents();
    EXPECT_FALSE(window_->FirstActivation);
    return *window_;
  }
  // Closes the window as the user would, which saves its stored properties.
  void Close() {
    window_->close();
    window_.reset();
  }

  QTemporaryDir dir_;
  platform::FakeDesktop desktop_;
  testing_support::FakeClock clock_{QDateTime(QDate(2001, 3, 7), QTime(10, 0))};
  options::OptionSettings options_;
  std::unique_ptr<tracker::TformHoralog> window_;
};
