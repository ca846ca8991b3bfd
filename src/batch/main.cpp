#include "batch/informe.h"

#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Pictures are drawn without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::vector<std::string> argumentos(argv + 1, argv + argc);
    QGuiApplication app(argc, argv);
    return tev::ejecuta_lote(argumentos, std::cout, std::cerr);
}
