#pragma once
// The two forms a results table is written in: the batch tool's CSV (commas,
// decimal points), and the one a spreadsheet in a Spanish locale reads
// (semicolons, decimal commas). What every results writer shares: how a text
// field is quoted and how a number's decimal point is written.

#include <initializer_list>
#include <string>
#include <string_view>

namespace tev {

struct FormaExportacion {
    // {} or {';', ','}: the curve is named apart.
    FormaExportacion(char sep = ',', char dec = '.') : separador(sep), decimal(dec) {}
    char separador;
    char decimal;
    // The sea-level curve the results were computed with, as nombre_de_curva
    // (compute/nivel_mar.h) names it: when not empty, every line ends with a
    // column "curva_nivel_mar" that holds it. Empty for the program's table,
    // which leaves every line as it was.
    std::string curva_nivel_mar;
}; // or {';', ','}

// The header line: the names joined by the separator, then
// "curva_nivel_mar" when the form names a curve, ended by CR LF. The names
// are plain keys (letters and underscores): never quoted.
std::string cabecera_exportada(std::initializer_list<std::string_view> nombres,
                               const FormaExportacion& f);

// The end of a line: the curve's column when the form names one, then CR LF.
void termina_linea_exportada(std::string& out, const FormaExportacion& f);

// t as a text field (file name, bed name, lithology), added to out: between
// double quotes, every inner one doubled, when it holds the separator, a
// double quote or a control character (a line break among them); otherwise
// as it is. Its characters are kept, a decimal point among them.
void agrega_texto_exportado(std::string& out, std::string_view t, const FormaExportacion& f);

// A number's text, as to_chars writes it, added to out with its decimal point
// written as f.decimal.
void agrega_numero_exportado(std::string& out, std::string_view numero, const FormaExportacion& f);

} // namespace tev
