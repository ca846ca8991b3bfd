// One QApplication for the whole widget test binary.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The user's preferences (the recent files) stay untouched: the tests
    // keep theirs in a folder of their own.
    QTemporaryDir preferencias;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, preferencias.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
