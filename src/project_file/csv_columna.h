#pragma once
// A column as CSV, the form spreadsheets read and write: a header line that
// names the fourteen fields by their keys (columna.h), in any order, then one
// row per bed, bed 1 (the deepest) first.
//
// Reading takes UTF-8 (with or without a byte-order mark) or Windows-1252,
// a comma or a semicolon between fields (the one the header uses), RFC 4180
// quotes, and with a semicolon also the decimal comma of a spreadsheet in a
// Spanish locale. A column "notas" holds each bed's remark. Reading is all or
// nothing, as for the project file, and the messages name the row and the
// column. A column "densidad_grano" holds a bed's own grain density (kg/m3,
// above 0; an empty cell for none). The columns "paleobatimetria_min", "_max",
// "edad_techo_min", "_max", "porosidad_min", "_max", "coef_porosidad_min" and
// "_max" hold the ends of a bed's uncertainty ranges (model/rangos.h; an empty
// cell for none); a minimum above its maximum, or a range that leaves the
// bed's own value out, is refused naming the row and column. The reading
// gives the file's form too (model/forma_csv.h).
//
// Writing follows the column's form: its separator, decimal mark, encoding,
// byte-order mark, line ends and order of columns, "notas" among them. A
// column that never came from a CSV file is written in the default form:
// UTF-8 with a byte-order mark, commas, CR LF line ends. Numbers are the
// shortest text that reads back to the same single: a column written and
// read back is the same column, bit for bit, with the same remarks.

#include "project_file/columna.h"

#include <string>
#include <string_view>

namespace tev {

// True when the file name's extension is ".csv", in any case.
bool es_nombre_csv(const std::string& ruta);

// The header line the writer puts first, without its line end.
std::string cabecera_columna_csv();

// nombre_archivo only labels the messages.
LecturaColumna lee_csv(std::string_view bytes, const std::string& nombre_archivo);

// Beds 1..n_bancos in the form s.forma_csv; the own grain densities, the
// ends of ranges, then the remarks, get a column at the end when the form has none and some bed
// has one. A form in Windows-1252 is
// written in UTF-8 with its mark when a text cannot be held in Windows-1252 or
// its bytes would read back as UTF-8. Refused, naming the bed, when a number
// is not finite or a text is not valid UTF-8.
EscrituraColumna escribe_csv(const Store& s);

} // namespace tev
