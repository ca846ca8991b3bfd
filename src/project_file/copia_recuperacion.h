#pragma once
// The recovery copy of a column: what the desktop program keeps of a column
// that differs from its file, so that a crash loses nothing.
//
// The copy is one file, written whole through guarda_archivo. Its first line
// says what it is and what the column needs besides its beds, as fields
// separated by commas, the path between double quotes as a CSV field has it
// (so a path may hold commas, quotes or line breaks), then CR LF:
//
//     tevarro-recuperacion,1,<pid>,<last change>,"<original path>"
//
// 1 is the version of this form; <pid> is the process id of the program that
// keeps the copy; <last change> is the time of the last change in
// milliseconds since 1970-01-01 UTC; the path is the file the column was last
// opened from or saved to, in UTF-8, empty for a column that never had one.
// What follows that line is the column exactly as escribe_csv writes it: byte
// for byte a CSV column (csv_columna.h), every field it carries included.

#include "project_file/columna.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct Store;

struct DatosCopia {
    std::int64_t pid = 0;
    std::int64_t ultimo_cambio_ms = 0; // milliseconds since 1970-01-01 UTC
    std::string ruta_original;         // UTF-8; empty: the column had no file
};

// The first line, CR LF included.
std::string cabecera_copia(const DatosCopia& datos);

// The whole copy of the column in s; refused as escribe_csv refuses it.
EscrituraColumna escribe_copia(const Store& s, const DatosCopia& datos);

struct LecturaCopia {
    bool ok = false;
    DatosCopia datos;
    std::vector<RegistroBanco> bancos;
    FormaCsv forma;    // the CSV form of the column, as it came
    std::string error; // Spanish, names the file and what is wrong
};

// nombre_archivo only labels the messages. All or nothing, as lee_csv.
LecturaCopia lee_copia(std::string_view bytes, const std::string& nombre_archivo);

} // namespace tev
