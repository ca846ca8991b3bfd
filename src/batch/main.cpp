#include "batch/informe.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>

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
    // Reading, computing and reporting need no GUI: without a picture to
    // draw, no platform plugin and no font configuration are loaded. With
    // one, they start while the column is read and computed.
    std::unique_ptr<QCoreApplication> app;
    if (!tev::pide_imagenes(argumentos)) app = std::make_unique<QCoreApplication>(argc, argv);
    auto prepara_imagenes = [&] {
        app = std::make_unique<QGuiApplication>(argc, argv);
        // The fonts are looked up now rather than at the first caption.
        const QFontMetrics medidas{QFont()};
        static_cast<void>(medidas.height());
    };
    return tev::ejecuta_lote(argumentos, std::cout, std::cerr, prepara_imagenes);
}
