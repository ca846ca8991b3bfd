#pragma once
// A sea-level curve of the user's as a CSV file: a header that names the
// columns "edad" (Ma) and "nivel_mar" (m above the present sea level), in
// either order, then one point per line, in any order of age. UTF-8 (with or
// without a byte-order mark) or ASCII; commas between the cells, or
// semicolons, whichever the header uses, and with semicolons a decimal comma
// too. Blank lines are skipped. Reading is all or nothing; the messages name
// the file, the line and the column.

#include "compute/nivel_mar.h"

#include <string>
#include <string_view>

namespace tev {

struct LecturaCurva {
    bool ok = false;
    CurvaNivelMar curva; // tipo usuario, its points sorted by age
    std::string error;   // Spanish
};

// archivo names the curve and labels the messages.
LecturaCurva lee_curva_nivel_mar(std::string_view bytes, const std::string& archivo);

// The file at ruta, read whole first (at most 4 MiB).
LecturaCurva lee_archivo_curva(const std::string& ruta);

// What --nivel-mar (or any choice by name) asks for: "tabla", "ninguno", or
// the name of a curve's file.
LecturaCurva elige_curva(const std::string& eleccion);

} // namespace tev
