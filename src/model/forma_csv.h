#pragma once
// How a column's CSV file was written, so that saving the column as CSV again
// writes it the same way. A column that never came from a CSV file holds the
// default form: UTF-8 with a byte-order mark, commas, decimal points, CR LF
// after every row, the fourteen fields in project file order.

#include <string>
#include <vector>

namespace tev {

struct FormaCsv {
    char separador = ',';              // ',' or ';'
    char decimal = '.';                // '.', or ',' with ';' between fields
    bool utf8 = true;                  // UTF-8; Windows-1252 otherwise
    bool marca_utf8 = true;            // the byte-order mark first (UTF-8 only)
    std::string fin_de_linea = "\r\n"; // "\r\n", "\n" or "\r"
    bool fin_de_linea_final = true;    // the last row ends with one too
    // The header's names as the file has them (blanks around taken away), in
    // its order: field keys in any case, "notas", or empty for a column
    // without a name. Empty: the default order.
    std::vector<std::string> columnas;

    bool operator==(const FormaCsv& o) const
    {
        return separador == o.separador && decimal == o.decimal && utf8 == o.utf8 &&
               marca_utf8 == o.marca_utf8 && fin_de_linea == o.fin_de_linea &&
               fin_de_linea_final == o.fin_de_linea_final && columnas == o.columnas;
    }
    bool operator!=(const FormaCsv& o) const { return !(*this == o); }
};

} // namespace tev
