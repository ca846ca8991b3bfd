#include "batch/informe.h"
#include "batch/modulo_imagenes.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Pictures are drawn without a screen.
    const char* plataforma = std::getenv("QT_QPA_PLATFORM");
    if (!plataforma || !*plataforma) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::vector<std::string> argumentos(argv + 1, argv + argc);
    // Reading, computing and reporting need no Qt: the program links the
    // core alone, and Qt, the drawing and its fonts come in with the
    // pictures module, loaded only when a picture is asked for.
    const tev::ModuloImagenes* modulo = nullptr;
    const auto carga = [&](std::string& error) -> const tev::Imagenes* {
        modulo = tev::carga_modulo_imagenes(error);
        if (!modulo) return nullptr;
        modulo->crea_aplicacion(argc, argv);
        return modulo->imagenes;
    };
    const int codigo = tev::ejecuta_lote(argumentos, std::cout, std::cerr, carga);
    if (modulo) modulo->cierra_aplicacion();
    return codigo;
}
