#pragma once
// The computed column as CSV (UTF-8, RFC 4180, lines ended by CR LF), one
// line per bed, as `tevarro-batch --csv` writes it: the file, the bed's number,
// name and lithology, then its depths, ages and results as the store holds
// them after the computation.

#include "project_file/forma_exportacion.h"

#include <string>

namespace tev {

struct Store;

// archivo,banco,nombre,litologia,techo,base,edad_techo,edad_base,densidad,
// nivel_mar,techo_descomp,base_descomp,correccion_carga,tevarro_tectonica
std::string cabecera_csv(const FormaExportacion& f = {});

// Beds 1..n_bancos, added to the end of t.
void agrega_lineas_csv(std::string& t, const Store& s, const std::string& archivo,
                       const FormaExportacion& f = {});
std::string lineas_csv(const Store& s, const std::string& archivo, const FormaExportacion& f = {});

// The shortest text that reads back to v (numero_corto), added to t; a
// negative zero is written "0", as the project file and the history write it.
void agrega_numero_corto(std::string& t, float v, const FormaExportacion& f = {});

} // namespace tev
