#pragma once
// Several wells side by side: each one read from its file (a project file or a
// CSV column, chosen by the name as formatos.h does), its burial history
// computed as "Abrir" and tevarro-batch --historia do it, and its stretching
// fit made with one request for them all. A well that cannot be read, has no
// history or no fit keeps its reason; the others go on.

#include "compute/estiramiento.h"
#include "compute/historia.h"

#include <string>
#include <vector>

namespace tev {

struct Store;
struct CurvaNivelMar;
struct FormaExportacion;
struct LitologiaUsuario;

struct Pozo {
    std::string ruta;   // as given; empty for a column that has no file
    std::string nombre; // as the legend and the exports show it
    // Spanish reason why the well has no history (unreadable file, a bed
    // that keeps it from having one, no beds); empty when it has one.
    std::string error;
    Historia historia;
    AjusteEstiramiento ajuste; // its own error says why there is no fit
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// The names of the wells at these paths: the file name without its folder,
// unless two wells would get the same one, in which case those keep the
// whole path as given.
std::vector<std::string> nombres_de_pozos(const std::vector<std::string>& rutas);

// The well's stretching fit made again under peticion (nothing for a well
// without a history): the fit tevarro-batch --estiramiento makes of the
// same file.
void reajusta_pozo(Pozo& pozo, const PeticionAjuste& peticion);

// The well of a column already in a store. The sea level is the curve's when
// one is given, the program's table otherwise.
Pozo pozo_de_columna(const Store& s, const std::string& nombre, const PeticionAjuste& peticion,
                     const CurvaNivelMar* curva = nullptr);

// Loads the column in the file at ruta into s as lee_pozo reads it: the
// start-up values, the user's rocks known to it (their grain densities, as
// the desktop program's own column knows them), the beds, and the sea level
// of the curve when one is given. The reader's Spanish reason, which names
// the file (and the record and field), when it cannot be read; empty when
// it was.
std::string carga_pozo(Store& s, const std::string& ruta, const CurvaNivelMar* curva = nullptr,
                       const std::vector<LitologiaUsuario>& rocas = {});

// The well in the file at ruta, named nombre.
Pozo lee_pozo(const std::string& ruta, const std::string& nombre, const PeticionAjuste& peticion,
              const CurvaNivelMar* curva = nullptr);

// Every well of the list, named by nombres_de_pozos, in the list's order.
std::vector<Pozo> lee_pozos(const std::vector<std::string>& rutas, const PeticionAjuste& peticion,
                            const CurvaNivelMar* curva = nullptr);

// The histories of every well that has one, as tevarro-batch --historia
// writes them for the same files, the well's name in the first column.
std::string historias_de_pozos_csv(const std::vector<Pozo>& pozos, const FormaExportacion& forma);

// The fits of every well that has one, as tevarro-batch --estiramiento writes
// them.
std::string ajustes_de_pozos_csv(const std::vector<Pozo>& pozos, const PeticionAjuste& peticion);

} // namespace tev
