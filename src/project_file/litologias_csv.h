#pragma once
// The user's rocks as a CSV file: a header naming the columns "nombre",
// "densidad_grano" (kg/m3), "porosidad" (surface porosity, a fraction) and
// "coef_porosidad" (1/km), in any order, then one rock per row. UTF-8 (with or
// without a byte-order mark); commas between the cells, or semicolons,
// whichever the header uses, and with semicolons a decimal comma too; RFC 4180
// quotes. Blank rows are skipped. Reading is all or nothing; the messages name
// the file, the row and the column. The same form is the file the desktop
// program keeps them in, and what "Importar…" and "Exportar…" read and write.

#include "model/litologias_usuario.h"

#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct LecturaLitologias {
    bool ok = false;
    std::vector<LitologiaUsuario> rocas; // in the file's order
    std::string error;                   // Spanish
};

// archivo only labels the messages.
LecturaLitologias lee_litologias_csv(std::string_view bytes, const std::string& archivo);

// The file at ruta, read whole first; a file that does not exist is an
// error too (the caller decides whether that means none).
LecturaLitologias lee_archivo_litologias(const std::string& ruta);

// UTF-8 with its byte-order mark, commas, CR LF line ends; numbers as the
// shortest text that reads back to the same single, so that rocks written
// and read back are the same, bit for bit.
std::string escribe_litologias_csv(const std::vector<LitologiaUsuario>& rocas);

} // namespace tev
