#pragma once
// A computed column's results in one text, for "Exportar resultados…": the
// two tables of the batch tool one after the other.

#include "project_file/forma_exportacion.h"

#include <string>

namespace tev {

struct CurvaNivelMar;
struct Store;

// The per-bed results as `tevarro-batch --csv` writes them, an empty line, then the
// burial-history steps as `--historia` writes them, in the form f.
// s is the column as "Abrir" leaves it, computed; archivo names it in the
// first field of every line. The history is computed here from the column's
// beds; a column that has none (compute/historia.h) gives its header only, as
// the batch tool prints it. In the form {';', ','} every separator is ';' and
// every decimal point of a number ','; texts keep their characters.
// The history takes the curve, and the form names it when it is not the
// program's table; the store's sea levels must come from the same curve
// (pon_nivel_mar).
std::string resultados_csv(const Store& s, const std::string& archivo, const FormaExportacion& f);
std::string resultados_csv(const Store& s, const std::string& archivo, const FormaExportacion& f,
                           const CurvaNivelMar& curva);

} // namespace tev
