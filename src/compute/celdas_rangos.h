#pragma once
// The eight ends of a bed's own uncertainty ranges (model/rangos.h) as cells
// of the column table, in the order of kExtremos: shown after the table's own
// columns, an empty cell for an end not given.

#include <string>
#include <string_view>

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

} // namespace tev
