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
    char separador = ',';
    char decimal = '.';
}; // or {';', ','}

// The header line: the names joined by the separator, ended by CR LF. The
// names are plain keys (letters and underscores): never quoted.
std::string cabecera_exportada(std::initializer_list<std::string_view> nombres, FormaExportacion f);

// t as a text field (file name, bed name, lithology), added to out: between
// double quotes, every inner one doubled, when it holds the separator, a
// double quote or a control character (a line break among them); otherwise
// as it is. Its characters are kept, a decimal point among them.
void agrega_texto_exportado(std::string& out, std::string_view t, FormaExportacion f);

// A number's text, as to_chars writes it, added to out with its decimal point
// written as f.decimal.
void agrega_numero_exportado(std::string& out, std::string_view numero, FormaExportacion f);

} // namespace tev
