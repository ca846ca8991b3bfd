#pragma once
// The project file: one record per bed, fourteen comma-separated fields, CR LF
// line ends, texts in Windows-1252, numbers in the print form.

#include "project_file/columna.h"

#include <string>
#include <string_view>

namespace tev {

// nombre_archivo only labels the messages.
LecturaColumna lee_columna(std::string_view bytes, const std::string& nombre_archivo);

// Beds 1..n_bancos in the written form.
EscrituraColumna escribe_columna(const Store& s);

} // namespace tev
