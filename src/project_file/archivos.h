#pragma once
// The program's files on the disk: reading one whole, the one road by which
// every file is written, and the system's reasons in Spanish.
//
// Writing: project files, CSV and pictures alike. The new content goes to a temporary file beside
// the target, is written whole and flushed to the disk, and only then renamed over the old file; on
// any failure the old file is left byte for byte as it was and the temporary file is removed. The
// temporary file has no name while it is written (Linux's O_TMPFILE), so a save killed midway
// leaves nothing; where the file system has no unnamed files it is named, and what a killed save
// left is removed by the next save of the same target.
//
// File names are bytes, as the system takes them: they need not be UTF-8, and are never
// re-encoded.

#include <cstdint>
#include <string>
#include <string_view>

namespace tev {

// The system's reason for errno err, in Spanish, without a final period.
std::string razon_del_sistema(int err);

// Reads the whole file at ruta into bytes. Only a regular file of at most
// tope bytes is read (a folder, a pipe or a device is refused before it is
// opened); tipo names what it should be ("un archivo de proyecto"). On
// failure returns false with the reason, a Spanish sentence ending in a
// period, in razon.
bool lee_archivo_entero(const std::string& ruta, std::uintmax_t tope, const char* tipo,
                        std::string& bytes, std::string& razon);

// Writes bytes to ruta, a name of up to the system's longest (NAME_MAX bytes
// a part). A target that exists and is not a regular file (a folder, a pipe,
// a device, a socket) is refused before anything is written, and so is a
// file the user may not write (for the superuser, who may write any file, a
// file with no write bit at all); a symbolic link to a regular file is
// written through and stays a link. The new file keeps the old one's
// permissions. Returns an empty text on success, otherwise "No se pudo
// guardar «ruta»: <reason>." in Spanish.
std::string guarda_archivo(const std::string& ruta, std::string_view bytes);

} // namespace tev
