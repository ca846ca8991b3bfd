// The desktop program. One project file may be named on the command line:
//
//     tevarro [OPCIÓN...] [ARCHIVO]
//
// It is opened as "Archivo" -> "Abrir" opens a chosen file, by the same
// routine, once the main window is up; a file that fails is reported in the
// same message box and the window starts with its empty column.
//
// --help and --version are answered before Qt starts, so they need no
// display, and so are usage errors: more than one file, or an option that is
// neither ours nor Qt's, gives a message on stderr and exit status 2 with or
// without a display. Without a display to connect to, one line says so and the
// status is 1. Qt's own options (-platform, -style, ...) are taken out of argv
// by QApplication, and the rest of the arguments are looked at again. "--"
// ends the options, for a file whose name starts with "-".

#include "app/arranque.h"
#include "main_window/form1.h"
#include "main_window/recuperacion.h"
#include "model/store.h"
#include "window_helpers/traducciones_de_qt.h"

#include <QApplication>
#include <QTimer>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

int error_de_uso(const std::string& texto)
{
    std::cerr << "tevarro: " << texto << '\n' << kUso;
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
    // A usage error is one whether or not there is a display: it is found
    // before Qt looks for one.
    const tev::Orden antes_de_qt =
        tev::lee_orden({argv + 1, argv + argc}, tev::OpcionesDeQt::presentes);
    if (!antes_de_qt.error_de_uso.empty()) return error_de_uso(antes_de_qt.error_de_uso);

    tev::interfaz_en_castellano();
    std::optional<tev::ArranqueDeQt> arranque(std::in_place);
    QApplication app(argc, argv);
    arranque.reset();
    // Window managers match the windows to the installed desktop entry.
    QGuiApplication::setDesktopFileName("tevarro");
    // Qt's own dialogs and buttons (the file chooser, "Aceptar") in Spanish
    // too, when Qt's translations are installed.
    tev::instala_traducciones_de_qt();

    // Qt has taken out the options it used; what it left is looked at again,
    // since some of Qt's options are taken only on some platforms.
    std::vector<std::string> argumentos;
    for (const QString& a : QCoreApplication::arguments().mid(1))
        argumentos.push_back(a.toStdString());
    const tev::Orden orden = tev::lee_orden(argumentos, tev::OpcionesDeQt::quitadas);
    if (!orden.error_de_uso.empty()) return error_de_uso(orden.error_de_uso);

    auto store = std::make_unique<tev::Store>();
    tev::Form1 ventana(*store);
    // A modified column is copied to the user's data folder until it is saved.
    tev::Recuperacion recuperacion(ventana, *store);
    ventana.show();
    // From inside the event loop, as a menu choice would run: the message
    // box of a failed file is over a window that is already up. A column left
    // by a program that did not end normally is offered after the file, so
    // that recovering it is never undone by the file.
    const QString ruta =
        orden.archivos.empty() ? QString() : QString::fromStdString(orden.archivos.front());
    QTimer::singleShot(0, &ventana, [&ventana, &recuperacion, ruta] {
        if (!ruta.isEmpty()) ventana.abre_archivo(ruta);
        recuperacion.ofrece_copias_dejadas();
    });
    return app.exec();
}
