#include "batch/informe.h"
#include "batch/modulo_imagenes.h"

#include <QCoreApplication>

#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
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
    std::thread fontconfig;
    if (!tev::pide_imagenes(argumentos)) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        try {
            fontconfig = std::thread(tev::inicia_fontconfig);
        } catch (const std::system_error&) {
            // Qt's font database reads the configuration itself, later.
        }
    }
    auto prepara_imagenes = [&](std::string& error) -> const tev::Imagenes* {
        const tev::ModuloImagenes* modulo = tev::carga_modulo_imagenes(error);
        if (fontconfig.joinable()) fontconfig.join();
        if (!modulo) return nullptr;

        app.reset(modulo->crea_aplicacion(argc, argv));

        return modulo->imagenes;
    };
    const int codigo = tev::ejecuta_lote(argumentos, std::cout, std::cerr, prepara_imagenes);
    if (fontconfig.joinable()) fontconfig.join(); // a usage error draws nothing
    app.reset();
    return codigo;
}
