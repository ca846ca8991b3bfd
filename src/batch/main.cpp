#include "batch/informe.h"
#include "batch/modulo_imagenes.h"

#include <QCoreApplication>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Qt's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set ...") are English
// and say nothing about the user's files; only its critical and fatal
// messages reach the terminal.
void mensajes_de_qt(QtMsgType tipo, const QMessageLogContext&, const QString& texto)
{
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        std::cerr << tev::escapa_controles(texto.toStdString()) << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(mensajes_de_qt);
    // Pictures are drawn without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::vector<std::string> argumentos(argv + 1, argv + argc);
    // Reading, computing and reporting need no GUI: the program links Qt
    // Core only, and the drawing, Qt's GUI and its fonts come in with the
    // pictures module, loaded while the column is computed.
    std::unique_ptr<QCoreApplication> app;
    tev::PreparaImagenes prepara;
    const bool imagenes = tev::pide_imagenes(argumentos);
    if (!imagenes) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
#ifdef __GLIBC__
        // A picture takes buffers of a megabyte and less (the canvas, its
        // palette copy, zlib's window). Kept on the heap rather than mapped
        // afresh each, a buffer reuses the pages an earlier one touched.
        mallopt(M_MMAP_THRESHOLD, 16 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
        // Fontconfig is loaded first and started on the computing thread
        // while the module loads here.
        prepara.encargo = []() -> std::function<void()> {
            const tev::InicioFontconfig inicio = tev::inicio_de_fontconfig();
            if (!inicio) return {};
            return [inicio] { inicio(); };
        };
        const bool curvas = tev::pide_curvas(argumentos);
        prepara.dibujo =
            [&, curvas](std::string& error,
                        const std::function<void()>& espera_encargo) -> const tev::Imagenes* {
            const tev::ModuloImagenes* modulo = tev::carga_modulo_imagenes(error);
            if (!modulo) return nullptr;
            app.reset(modulo->crea_aplicacion(argc, argv));
            // Qt's font database would read the configuration a second time.
            espera_encargo();
            modulo->prepara_fuentes(curvas);
            return modulo->imagenes;
        };
    }
    const int codigo = tev::ejecuta_lote(argumentos, std::cout, std::cerr, prepara);
#ifndef __SANITIZE_ADDRESS__
    // Every file is written and closed, the report flushed: the GUI, its
    // fonts and the libraries they brought are not worth tearing down one by
    // one (a sanitizer build does, to look for leaks).
    if (imagenes && app && std::fflush(nullptr) == 0) std::_Exit(codigo);
#endif
    app.reset();
    return codigo;
}
