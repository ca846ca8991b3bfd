#pragma once
// The one road by which the program writes a file: project files, CSV and
// pictures alike. The new content goes to a temporary file beside the target,
// is written whole and flushed to the disk, and only then renamed over the
// old file; on any failure the old file is left byte for byte as it was and
// the temporary file is removed.

#include <string>
#include <string_view>

namespace tev {

// The system's reason for errno err, in Spanish, without a final period.
std::string razon_del_sistema(int err);

// Writes bytes to ruta. A target that exists and is not a regular file (a
// folder, a pipe, a device, a socket) is refused before anything is written;
// a symbolic link to a regular file is written through and stays a link. The
// new file keeps the old one's permissions. Returns an empty text on success,
// otherwise "No se pudo guardar «ruta»: <reason>." in Spanish.
std::string guarda_archivo(const std::string& ruta, std::string_view bytes);

} // namespace tev
