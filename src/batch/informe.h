#pragma once
// The headless tool: reads project files, computes them as "Abrir" does and
// reports every bed as a readable table or as CSV.

#include "text_forms/formas_numericas.h" // numero_corto

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tev {

struct Store;

// A readable table of beds 1..n_bancos, units in the headers, added to the
// end of t.
void agrega_tabla_de_bancos(std::string& t, const Store& s);
std::string tabla_de_bancos(const Store& s);

// CSV (UTF-8, RFC 4180): the header line and one line per bed, the beds'
// lines added to the end of t.
std::string cabecera_csv();
void agrega_lineas_csv(std::string& t, const Store& s, const std::string& archivo);
std::string lineas_csv(const Store& s, const std::string& archivo);

// A CSV field: between double quotes (an inner one doubled) when it holds a
// comma, a double quote or a control character.
std::string campo_csv(const std::string& t);

// The text with control characters (below U+0020 but tab, DEL and
// U+0080..U+009F) written as \x1b or \u009b, as the terminal is shown them.
std::string escapa_controles(const std::string& t);

// Whether the command line asks for a picture (--curvas or --columna before
// any "--"): only then does the tool need Qt's GUI, its fonts and a
// platform; everything else runs on a QCoreApplication.
bool pide_imagenes(const std::vector<std::string>& argumentos);

// The whole command line; returns the exit code (0 all well, 1 a file
// failed, 2 usage). When a picture is to be drawn, prepara_imagenes (if
// given) is called first, on this thread, while another reads and computes
// the column: it creates what drawing needs (the QGuiApplication).
int ejecuta_lote(const std::vector<std::string>& argumentos, std::ostream& salida,
                 std::ostream& errores, const std::function<void()>& prepara_imagenes = {});

} // namespace tev
