#pragma once
// --nivel-mar: the sea-level curve of the whole run, and how the readable
// table names it.

#include <string>

namespace tev {

struct CurvaNivelMar;

// The curve a value of --nivel-mar asks for ("tabla", "ninguno" or a curve's
// CSV file); false with the message (naming the file, the line and the
// column) in error when the file cannot be read.
bool curva_de_la_opcion(const std::string& valor, CurvaNivelMar& curva, std::string& error);

// The line under a table's "Archivo:" line that names the curve (control
// characters of its file's name escaped); empty for the program's table,
// which leaves the table as it was.
std::string linea_de_curva(const CurvaNivelMar& curva);

} // namespace tev
