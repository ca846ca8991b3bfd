#pragma once
// Tab-separated text as spreadsheets put it on the clipboard, and the number
// forms of its cells.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tev {

using FilasDeTexto = std::vector<std::vector<std::string>>;

// Lines ended by LF or CR LF, cells separated by tabs. A cell that starts
// with a double quote runs to the closing one (a doubled quote inside is
// one quote) and may hold tabs and line ends, as spreadsheets write them. A
// last empty line (the final line end) is no row.
FilasDeTexto lee_tabulado(std::string_view texto);

// The inverse: cells joined by tabs, lines ended by LF; a cell holding a
// tab, a line end or a double quote goes between double quotes.
std::string escribe_tabulado(const FilasDeTexto& filas);

// The shortest text that reads back to the same single (numero_corto), with
// decimal as its decimal mark: (0.63, ',') -> "0,63", (1e-05, ',') -> "1e-05".
std::string numero_con_marca(float v, char decimal);

// A cell's number: the whole text (blanks around it allowed) one number, with
// a decimal point or a decimal comma ("0,63" and "0.63" alike), converted to
// the nearest single. Empty when it is not one number (also "1.234,5", which
// mixes both marks) or does not fit a single.
std::optional<float> lee_numero_de_celda(std::string_view texto);

// The double the same text stands for, before rounding to a single; only
// meaningful where lee_numero_de_celda reads it.
double lee_doble_de_celda(std::string_view texto);

} // namespace tev
