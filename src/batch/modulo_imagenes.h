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
    // critical ones only). argc and argv are the program's, and live as
    // long as it.
    void (*crea_aplicacion)(int& argc, char** argv);
    void (*cierra_aplicacion)();
    // What draws, once the application is created.
    const Imagenes* imagenes;
};

// The function the module exports: const ModuloImagenes* (void).
inline constexpr char kEntradaModulo[] = "tevarro_modulo_imagenes";
inline constexpr char kArchivoModulo[] = "tevarro-imagenes.so";

// Loads the module, sought beside the program (a build tree) and then where
// it is installed; null with the reason, in Spanish, when it cannot be used.
const ModuloImagenes* carga_modulo_imagenes(std::string& error);

} // namespace tev
