// The entry point of the pictures module.

#include "batch/modulo_imagenes.h"

#include "batch/imagenes_lote.h"
#include "batch/informe.h"
#include "drawing/dibujo_curvas.h"
#include "drawing/exporta_imagen.h"
#include "model/store.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <iostream>
#include <memory>
#include <utility>

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

void prepara_fuentes(bool ensaya_curvas)
{
    // The fonts are looked up now, while the column may still be being
    // computed, rather than at the first caption: the font database, and the
    // curves' own font, which measures its longest legend.
    static_cast<void>(QFontDatabase::families().size());
    static_cast<void>(tev::fuente_curvas());
    if (ensaya_curvas) {
        // The captions of the curves' picture are the same for every column:
        // painted once here, they are shaped and their glyphs drawn before
        // the column is ready. The canvas is the picture's own.
        QImage ensayo(tev::tamano_ventana_curvas(), QImage::Format_RGB32);
        {
            QPainter p(&ensayo);
            tev::pinta_grafico_completo(tev::Store{}, tev::kEscalaTiempoInicial,
                                        tev::kEscalaProfundidadInicial, p);
        }
        tev::reserva_lienzo(std::move(ensayo));
    }
}

} // namespace

extern "C" Q_DECL_EXPORT const tev::ModuloImagenes* tevarro_modulo_imagenes()
{
    static const tev::ModuloImagenes modulo{TEVARRO_VERSION, sizeof(tev::Store),
                                            crea_aplicacion, cierra_aplicacion,
                                            prepara_fuentes, &tev::imagenes_enlazadas()};
    return &modulo;
}
