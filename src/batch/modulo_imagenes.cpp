// The entry point of the pictures module.

#include "batch/modulo_imagenes.h"

#include "batch/imagenes_lote.h"
#include "model/store.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>

namespace {

QCoreApplication* crea_aplicacion(int& argc, char** argv)
{
    auto* app = new QGuiApplication(argc, argv);
    // The fonts are looked up now, while the column is still being computed,
    // rather than at the first caption.
    const QFontMetrics medidas{QFont()};
    static_cast<void>(medidas.height());
    return app;
}

} // namespace

extern "C" Q_DECL_EXPORT const tev::ModuloImagenes* tevarro_modulo_imagenes()
{
    static const tev::ModuloImagenes modulo{TEVARRO_VERSION, sizeof(tev::Store), crea_aplicacion,
                                            &tev::imagenes_enlazadas()};
    return &modulo;
}
