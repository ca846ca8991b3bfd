#pragma once
// A column's file on the disk, its form chosen by the name: a name ending in
// ".csv" (any case) is a CSV column (csv_columna.h), any other a project file
// (archivo_proyecto.h). The same limits hold for both.

#include "project_file/columna.h"

#include <string>

namespace tev {

LecturaColumna lee_archivo(const std::string& ruta);

// Writes atomically: on any failure the old file stays as it was. Returns an
// empty text on success, the Spanish reason otherwise. A project file leaves
// the remarks, the own grain densities and the ranges out: ask
// notas_que_no_caben, densidades_que_no_caben and rangos_que_no_caben first.
std::string salva_archivo(const Store& s, const std::string& ruta);

// How many of beds 1..n_bancos have a remark that a file at ruta would leave
// out: none for a CSV file, every one for a project file.
int notas_que_no_caben(const Store& s, const std::string& ruta);

// The same for the beds' own grain densities.
int densidades_que_no_caben(const Store& s, const std::string& ruta);

// The same for the beds' own uncertainty ranges (a bed with any end of one).
int rangos_que_no_caben(const Store& s, const std::string& ruta);

} // namespace tev
