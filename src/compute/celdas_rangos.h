#pragma once
// The eight ends of a bed's own uncertainty ranges (model/rangos.h) as cells
// of the column table, in the order of kExtremos: shown after the table's own
// columns, an empty cell for an end not given.

#include "compute/celdas_columna.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct Store;

// The caption of end e (0..kNumExtremos - 1), with its unit:
// "Paleobatimetría mín. (m)".
const char* titulo_de_extremo(int e);

// The text of end e of bed b, numbers with the decimal mark given; empty for
// an end not given.
std::string texto_de_extremo(const Store& s, int b, int e, char decimal);

// Puts texto into end e of bed b: empty (or blanks) for no end. Why it cannot
// (Spanish, without the bed and without a final period, as
// motivo_de_rechazo): not a number, a minimum above the maximum, or a range
// leaving out the bed's value, the same rules as the CSV column's. Empty when
// it went in; the store is untouched otherwise.
std::string pon_extremo(Store& s, int b, int e, std::string_view texto);

// pon_celdas with the range columns shown: cells from column kColumnasTabla
// on go into the ends of the beds' ranges (rows past the beds refused), each
// bed's ranges checked once all its cells are in. All or nothing.
std::optional<RechazoDeCelda> pon_celdas_y_rangos(Store& s, int fila, int columna,
                                                  const FilasDeTexto& filas);

// copia_celdas where columns from kColumnasTabla on are the ranges' ends.
std::string copia_celdas_y_rangos(const Store& s, const std::vector<int>& filas,
                                  const std::vector<int>& columnas, char decimal, bool titulos,
                                  const std::vector<bool>& marcadas = {});

} // namespace tev
