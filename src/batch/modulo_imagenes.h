#pragma once
// The pictures module: the drawing code with Qt's GUI and its fonts, in a
// shared object of its own that the batch tool loads only when a picture is
// asked for. Reading, computing and reporting start without loading any of
// it.

#include <cstddef>
#include <string>

namespace tev {

class Imagenes;

struct ModuloImagenes {
    // The version of the build and the size of its store: a module of
    // another build is refused.
    const char* version;
    std::size_t tamano_store;
    // The QGuiApplication, with Qt's messages sent to the error output (its
    // critical ones only); it reads no font yet. argc and argv are the
    // program's, and live as long as it.
    void (*crea_aplicacion)(int& argc, char** argv);
    void (*cierra_aplicacion)();
    // The fonts looked up, once fontconfig has started; with
    // ensaya_curvas, the curves' captions shaped and drawn once, on the
    // canvas the curves' picture will be painted on.
    void (*prepara_fuentes)(bool ensaya_curvas);
    const Imagenes* imagenes;
};

// The function the module exports: const ModuloImagenes* (void).
inline constexpr char kEntradaModulo[] = "tevarro_modulo_imagenes";
inline constexpr char kArchivoModulo[] = "tevarro-imagenes.so";

// Fontconfig reads its whole configuration, dozens of XML files, the first
// time it is asked for a font: a third of what a picture costs. This loads
// fontconfig and returns its FcInit, to be run on the computing thread
// while the module loads here; Qt's font database then finds the reading
// done. Null without fontconfig.
using InicioFontconfig = int (*)();
InicioFontconfig inicio_de_fontconfig();

// Loads the module, sought beside the program (a build tree) and then where
// it is installed; null with the reason, in Spanish, when it cannot be used.
const ModuloImagenes* carga_modulo_imagenes(std::string& error);

} // namespace tev
