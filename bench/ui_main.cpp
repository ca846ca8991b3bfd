// One QApplication for a widget benchmark binary, headless unless told
// otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The user's preferences (the recent files) stay untouched.
    QTemporaryDir preferencias;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, preferencias.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
