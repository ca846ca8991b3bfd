#pragma once
// A test fixture whose preferences live in a folder of their own, emptied at
// the start of every test: what one test keeps never reaches the next, nor
// the user's own preferences.

#include "window_helpers/preferencias.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace tev::prueba {

class PreferenciasPropias : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        preferencias().clear();
    }
    // The folder that holds them.
    [[nodiscard]] QString carpeta() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

} // namespace tev::prueba
