// The entry point of the pictures module.

#include "batch/modulo_imagenes.h"

#include "batch/imagenes_lote.h"
#include "batch/informe.h"
#include "model/store.h"

#include <QGuiApplication>

#include <iostream>
#include <memory>

namespace {

// Qt's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set ...") are English
// and say nothing about the user's files; only its critical and fatal
// messages reach the terminal.
void mensajes_de_qt(QtMsgType tipo, const QMessageLogContext&, const QString& texto)
{
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        std::cerr << tev::escapa_controles(texto.toStdString()) << "\n";
}

std::unique_ptr<QGuiApplication> aplicacion;

void crea_aplicacion(int& argc, char** argv)
{
    qInstallMessageHandler(mensajes_de_qt);
    aplicacion = std::make_unique<QGuiApplication>(argc, argv);
    // The platform plugin is loaded. The tool writes its PNG pictures with
    // Qt's own PNG code; without plugin folders QImageWriter does not load
    // every image-format plugin (and libjpeg with them) to ask it first.
    QCoreApplication::setLibraryPaths({});
}

void cierra_aplicacion()
{
    aplicacion.reset();
}

} // namespace

extern "C" Q_DECL_EXPORT const tev::ModuloImagenes* tevarro_modulo_imagenes()
{
    static const tev::ModuloImagenes modulo{TEVARRO_VERSION, sizeof(tev::Store), crea_aplicacion,
                                            cierra_aplicacion, &tev::imagenes_enlazadas()};
    return &modulo;
}
