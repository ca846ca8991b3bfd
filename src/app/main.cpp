// The desktop program. One project file may be named on the command line:
//
//     tevarro [ARCHIVO]
//
// It is opened as "Archivo" -> "Abrir" opens a chosen file, by the same
// routine, once the main window is up; a file that fails is reported in the
// same message box and the window starts with its empty column. Qt's own
// options (-platform, -style, ...) are taken out of argv by QApplication before
// the arguments are looked at. More than one file, or an option of our own
// that does not exist, is a usage error: a message on stderr and exit status 2,
// before any window is shown. "--" ends the options, for a file whose name
// starts with "-".

#include "main_window/form1.h"
#include "model/store.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QTranslator>

#include <iostream>
#include <memory>

namespace {

const char* const kUso =
    "Uso: tevarro [ARCHIVO]\n"
    "Abre la ventana de TEVARRO; con ARCHIVO, abre ese archivo de proyecto\n"
    "como lo hace \"Archivo\" -> \"Abrir\".\n";

int error_de_uso(const QString& texto)
{
    std::cerr << "tevarro: " << texto.toStdString() << '\n' << kUso;
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Window managers match the windows to the installed desktop entry.
    QGuiApplication::setDesktopFileName("tevarro");
    // Qt's own dialogs and buttons (the file chooser, "Aceptar") in Spanish
    // too, when Qt's translations are installed.
    QTranslator qt_es;
    if (qt_es.load(QLocale(QLocale::Spanish), "qtbase", "_",
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_es);

    QStringList archivos;
    bool opciones = true;
    const QStringList argumentos = QCoreApplication::arguments();
    for (int i = 1; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (opciones && a == "--") {
            opciones = false;
        } else if (opciones && (a == "-h" || a == "--help" || a == "--ayuda")) {
            std::cout << kUso;
            return 0;
        } else if (opciones && a.size() > 1 && a.startsWith('-')) {
            return error_de_uso("la opción \"" + a + "\" no existe.");
        } else {
            archivos << a;
        }
    }
    if (archivos.size() > 1) {
        return error_de_uso(QString("se puede abrir un solo archivo de proyecto y se dieron %1: %2.")
                                .arg(archivos.size())
                                .arg("\"" + archivos.join("\", \"") + "\""));
    }

    auto store = std::make_unique<tev::Store>();
    tev::Form1 ventana(*store);
    ventana.show();
    if (!archivos.isEmpty()) {
        // From inside the event loop, as a menu choice would run: the message
        // box of a failed file is over a window that is already up.
        const QString ruta = archivos.first();
        QTimer::singleShot(0, &ventana, [&ventana, ruta] { ventana.abre_archivo(ruta); });
    }
    return app.exec();
}
