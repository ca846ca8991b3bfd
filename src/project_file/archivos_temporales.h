#pragma once
// How guarda_archivo makes its temporary file, for the tests of both ways.

#include <string>
#include <string_view>

namespace tev {

enum class Temporal {
    // An unnamed file (Linux's O_TMPFILE) in the target's folder, named only
    // once complete; a named one where the file system refuses it.
    sin_nombre,
    // A named file from the start (mkostemp), as on a file system without
    // unnamed files.
    con_nombre,
};

// guarda_archivo (archivos.h) with the temporary file made the given way.
std::string guarda_archivo(const std::string& ruta, std::string_view bytes, Temporal como);

} // namespace tev
