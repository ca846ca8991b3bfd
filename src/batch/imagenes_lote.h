#pragma once
// The batch tool's pictures drawn by the drawing code linked in: what the
// pictures module hands to the tool, and what runs the tool inside one
// process (the tests) uses.

#include "batch/informe.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace tev {

const Imagenes& imagenes_enlazadas();

// The whole command line with the linked drawing; the process must have a
// QGuiApplication before a picture is drawn.
int ejecuta_lote(const std::vector<std::string>& argumentos, std::ostream& salida,
                 std::ostream& errores);

} // namespace tev
