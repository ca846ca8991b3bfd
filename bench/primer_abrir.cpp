// The first "Abrir" after start-up, in a process of its own: the window is
// created and shown as the program does, then the file named on the command
// line is opened (read, compute, plot the curves, draw the column) once.
// Prints "arranque_ms=... primer_abrir_ms=... segundo_abrir_ms=...".

#include "main_window/com_file.h"
#include "main_window/form1.h"
#include "model/store.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

class DialogoFijo : public tev::ComFile {
  public:
    QString ruta;

  protected:
    QString pide_abrir(QWidget*) override { return ruta; }
};

double ms_desde(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv)
{
    const auto t0 = std::chrono::steady_clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The user's preferences (the recent files) stay untouched.
    QTemporaryDir preferencias;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, preferencias.path());
    if (argc < 2) {
        std::fprintf(stderr, "uso: primer_abrir ARCHIVO\n");
        return 2;
    }
    tev::Store s;
    tev::Form1 ventana(s);
    auto dialogo = std::make_unique<DialogoFijo>();
    dialogo->ruta = QString::fromLocal8Bit(argv[1]);
    ventana.pon_com_file(std::move(dialogo));
    ventana.avisa = [](const QString&, const QString&) {};
    ventana.show();
    QCoreApplication::processEvents();
    const double arranque = ms_desde(t0);

    auto t1 = std::chrono::steady_clock::now();
    ventana.abrir_mnu_Click();
    const double primero = ms_desde(t1);
    t1 = std::chrono::steady_clock::now();
    ventana.abrir_mnu_Click();
    const double segundo = ms_desde(t1);
    if (s.n_bancos == 0) return 1;
    std::printf("arranque_ms=%.3f primer_abrir_ms=%.3f segundo_abrir_ms=%.3f\n", arranque, primero,
                segundo);
    return 0;
}
