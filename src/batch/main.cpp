#include "batch/informe.h"
#include "batch/modulo_imagenes.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <functional>
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
    // pictures module, loaded while the column is computed.
    tev::PreparaImagenes prepara;
    const tev::ModuloImagenes* cargado = nullptr;
    const bool imagenes = tev::pide_imagenes(argumentos);
    if (imagenes) {
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
            return inicio;
        };
        const bool curvas = tev::pide_curvas(argumentos);
        prepara.dibujo = [&,
                          curvas](std::string& error, const std::function<void()>& espera_encargo,
                                  const std::function<bool()>& calculando) -> const tev::Imagenes* {
            const tev::ModuloImagenes* modulo = tev::carga_modulo_imagenes(error);
            if (!modulo) return nullptr;
            modulo->crea_aplicacion(argc, argv);
            cargado = modulo;
            // Qt's font database would read the configuration a second time.
            espera_encargo();
            // The curves' captions are drawn ahead only while there is time.
            modulo->prepara_fuentes(curvas && calculando());
            return modulo->imagenes;
        };
    }
    const int codigo = tev::ejecuta_lote(argumentos, std::cout, std::cerr, prepara);
#ifndef __SANITIZE_ADDRESS__
    // Every file is written and closed, the report flushed: the GUI, its
    // fonts and the libraries they brought are not worth tearing down one by
    // one (a sanitizer build does, to look for leaks).
    if (cargado && std::fflush(nullptr) == 0) std::_Exit(codigo);
#endif
    if (cargado) cargado->cierra_aplicacion();
    return codigo;
}
