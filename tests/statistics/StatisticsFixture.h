#pragma once

#include "core/FormatSettings.h"
#include "options/TaskCatalogue.h"
#include "statistics/StatisticModel.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace statistics_test {

inline QString Fixture(const char* name) {
  return qEnvironmentVariable("HORALOG_TEST_SOURCE") + QStringLiteral("/statistics/fixtures/") +
         QString::fromLatin1(name);
}

inline QString S(const char* text) { return QString::fromUtf8(text); }

// The fixture store and catalogue; a test may write a store of its own instead.
class StatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override { core::FormatSettings::SetCurrent(core::FormatSettings::Defaults()); }
  void TearDown() override { core::FormatSettings::SetCurrent(core::FormatSettings::Defaults()); }

  options::TaskCatalogue Catalogue(const QString& path = Fixture("hg20task.txt")) const {
    options::TaskCatalogue catalogue;
    catalogue.Load(path);
    return catalogue;
  }
  // A model on the fixture store for user anna, Monday-to-Sunday rows.
  statistics::StatisticModel Model(const QString& store = Fixture("hg20work.txt")) const {
    statistics::StatisticModel model(store);
    model.BuildTaskLists(Catalogue().lines());
    model.SetUser(S("anna"));
    return model;
  }
  QString Write(const char* name, const QByteArray& bytes) const {
    const QString path = dir_.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  QTemporaryDir dir_;
};

}  // namespace statistics_test
