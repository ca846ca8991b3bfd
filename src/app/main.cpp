// The desktop program. One project file may be named on the command line:
//
//     tevarro [OPCIÓN...] [ARCHIVO]
//
// It is opened as "Archivo" -> "Abrir" opens a chosen file, by the same
// routine, once the main window is up; a file that fails is reported in the
// same message box and the window starts with its empty column.
//
// --help and --version are answered before Qt starts, so they need no
// display. Without a display to connect to, one line says so and the status is
// 1. Qt's own options (-platform, -style, ...) are taken out of argv by
// QApplication before the rest of the arguments are looked at. More than one
// file, or an option of our own that does not exist, is a usage error: a
// message on stderr and exit status 2, before any window is shown. "--" ends
// the options, for a file whose name starts with "-".

#include "app/arranque.h"
#include "main_window/form1.h"
#include "main_window/recuperacion.h"
#include "model/store.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QTranslator>

#include <iostream>
#include <memory>
#include <optional>

namespace {

const char* const kUso =
    "Uso: tevarro [OPCIÓN...] [ARCHIVO]\n"
    "Abre la ventana de TEVARRO; con ARCHIVO, abre ese archivo de proyecto\n"
    "como lo hace \"Archivo\" -> \"Abrir\".\n"
    "\n"
    "  -h, --help, --ayuda  muestra esta ayuda y sale\n"
    "  --version            muestra la versión y sale\n"
    "  --                   termina las opciones: lo que sigue es el ARCHIVO\n"
    "\n"
    "También valen las opciones de Qt, como -platform NOMBRE o -style ESTILO.\n"
    "Sale con 0 al cerrar la ventana, 1 si no hay pantalla y 2 si la orden está\n"
    "mal escrita.\n";

int error_de_uso(const QString& texto)
{
    std::cerr << "tevarro: " << texto.toStdString() << '\n' << kUso;
    return 2;
}

int responde(tev::Inmediata pedido)
{
    if (pedido == tev::Inmediata::ayuda)
        std::cout << kUso;
    else
        std::cout << "tevarro " << tev::kVersion << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const tev::Inmediata pedido = tev::opcion_inmediata({argv + 1, argv + argc});
    if (pedido != tev::Inmediata::ninguna) return responde(pedido);

    std::optional<tev::ArranqueDeQt> arranque(std::in_place);
    QApplication app(argc, argv);
    arranque.reset();
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
        } else if (opciones && a.size() > 1 && a.startsWith('-')) {
            return error_de_uso("la opción \"" + a + "\" no existe.");
        } else {
            archivos << a;
        }
    }
    if (archivos.size() > 1) {
        return error_de_uso(
            QString("se puede abrir un solo archivo de proyecto y se dieron %1: %2.")
                .arg(archivos.size())
                .arg("\"" + archivos.join("\", \"") + "\""));
    }

    auto store = std::make_unique<tev::Store>();
    tev::Form1 ventana(*store);
    // A modified column is copied to the user's data folder until it is saved.
    tev::Recuperacion recuperacion(ventana, *store);
    ventana.show();
    // From inside the event loop, as a menu choice would run: the message
    // box of a failed file is over a window that is already up. A column left
    // by a program that did not end normally is offered after the file, so
    // that recovering it is never undone by the file.
    QTimer::singleShot(0, &ventana, [&ventana, &recuperacion, archivos] {
        if (!archivos.isEmpty()) ventana.abre_archivo(archivos.first());
        recuperacion.ofrece_copias_dejadas();
    });
    return app.exec();
}
