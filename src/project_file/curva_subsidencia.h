#pragma once
// A curve of tectonic subsidence in a CSV file (UTF-8, comma-separated, RFC
// 4180 quotes): a header that names the columns `edad` (Ma) and
// `subsidencia_tectonica` (m), in any order among others, and one row per
// point. The batch tool's burial history (--historia) is such a file; so is a
// curve from elsewhere.

#include "compute/estiramiento.h"

#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct LecturaCurva {
    bool ok = false;
    std::vector<PuntoSubsidencia> puntos; // in the file's order
    std::string error;                    // Spanish, names the file, row and column
};

// True when the first row of bytes names both columns.
bool es_curva_subsidencia(std::string_view bytes);

// The points of the file. A number that does not read whole, a row without
// the two columns, or an `archivo` column naming more than one column's
// history is an error.
LecturaCurva lee_curva_subsidencia(std::string_view bytes, const std::string& ruta);

} // namespace tev
