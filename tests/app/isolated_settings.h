#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>

namespace orvane::testing {

// Keeps the user's own settings out of reach: every test reads and writes a fresh folder.
class IsolatedSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configFolder.isValid());
        setenv("XDG_CONFIG_HOME", configFolder.path().toLocal8Bit().constData(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder.path());
    }
    QTemporaryDir configFolder;
};

} // namespace orvane::testing
