#include "project_file/archivos.h"

#include "project_file/comillas.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace tev {

std::string razon_del_sistema(int err)
{
    switch (err) {
    case ENOSPC:
        return "no queda espacio en el disco";
    case EDQUOT:
        return "se agotó su cuota de espacio en el disco";
    case EFBIG:
        return "el archivo pasaría del tamaño máximo que el sistema le permite";
    case EACCES:
    case EPERM:
        return "no tiene permiso";
    case EROFS:
        return "el disco o la carpeta es de solo lectura";
    case ENOENT:
        return "el archivo o la carpeta no existe";
    case EISDIR:
        return "es una carpeta";
    case ENOTDIR:
        return "una parte de la ruta no es una carpeta";
    case ENAMETOOLONG:
        return "la ruta es demasiado larga";
    case ELOOP:
        return "la ruta tiene demasiados enlaces simbólicos";
    case EIO:
        return "error de entrada/salida del disco";
    case ENOMEM:
        return "no hay memoria suficiente";
    case EMFILE:
    case ENFILE:
        return "hay demasiados archivos abiertos";
    case EBUSY:
    case ETXTBSY:
        return "el archivo está en uso";
    case EXDEV:
        return "el archivo temporal y el destino están en discos distintos";
    case EINVAL:
        return "el sistema no permite esa operación con este archivo";
    case ENXIO:
    case ENODEV:
        return "el dispositivo no está disponible";
    default:
        return "error del sistema número " + std::to_string(err);
    }
}

namespace {

// The reason for a failed open or read.
std::string razon_de_lectura(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "no tiene permiso de lectura";
    case EINVAL:
        return "el sistema no permite leerlo";
    case ENOENT:
        return "el archivo no existe";
    default:
        return razon_del_sistema(err);
    }
}

// Every byte, however many calls it takes; false with errno set on failure.
bool escribe_todo(int fd, std::string_view bytes)
{
    const char* p = bytes.data();
    size_t quedan = bytes.size();
    while (quedan > 0) {
        const ssize_t n = ::write(fd, p, quedan);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        quedan -= static_cast<size_t>(n);
    }
    return true;
}

// The file a path finally names: a symbolic link is followed to its target,
// so that the link itself stays in place.
bool resuelve_destino(const std::string& ruta, std::string& destino, std::string& error)
{
    struct stat st {};
    if (::lstat(ruta.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        destino = ruta;
        return true;
    }
    std::vector<char> real(PATH_MAX + 1);
    if (!::realpath(ruta.c_str(), real.data())) {
        error = errno == ENOENT ? "es un enlace simbólico a un archivo que no existe"
                                : razon_del_sistema(errno);
        return false;
    }
    destino = real.data();
    return true;
}

mode_t permisos_nuevos()
{
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return 0666 & ~mascara;
}

std::string guarda(const std::string& ruta, std::string_view bytes)
{
    if (ruta.empty()) return "falta el nombre del archivo";
    std::string destino;
    std::string error;
    if (!resuelve_destino(ruta, destino, error)) return error;

    mode_t permisos = 0;
    struct stat st {};
    if (::stat(destino.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return "es una carpeta, no un archivo";
        if (!S_ISREG(st.st_mode))
            return "no es un archivo común (es una tubería, un dispositivo, un socket u otro "
                   "tipo especial) y no se reemplaza";
        permisos = st.st_mode & 07777;
    } else if (errno == ENOENT) {
        permisos = permisos_nuevos();
    } else {
        return razon_del_sistema(errno);
    }

    namespace fs = std::filesystem;
    const fs::path camino(destino);
    const fs::path carpeta = camino.has_parent_path() ? camino.parent_path() : fs::path(".");
    std::string plantilla = (carpeta / ("." + camino.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(plantilla.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT) return "la carpeta " + entre_comillas(carpeta.string()) + " no existe";
        if (err == EACCES || err == EPERM)
            return "no tiene permiso para escribir en la carpeta " +
                   entre_comillas(carpeta.string());
        return razon_del_sistema(err);
    }
    const std::string temporal = plantilla;
    auto falla = [&](int err) {
        ::close(fd);
        ::unlink(temporal.c_str());
        return razon_del_sistema(err);
    };
    if (!escribe_todo(fd, bytes)) return falla(errno);
    if (::fchmod(fd, permisos) != 0) return falla(errno);
    // A full disk may only show itself here, when the data reach it.
    if (::fsync(fd) != 0) return falla(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temporal.c_str());
        return razon_del_sistema(err);
    }
    if (::rename(temporal.c_str(), destino.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporal.c_str());
        return razon_del_sistema(err);
    }
    // The rename itself reaches the disk with the folder (best effort: some
    // file systems cannot sync a folder, and the file is already in place).
    const int dir = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace

bool lee_archivo_entero(const std::string& ruta, std::uintmax_t tope, const char* tipo,
                        std::string& bytes, std::string& razon)
{
    namespace fs = std::filesystem;
    // Looked at before opening, so that a pipe or a device is never opened.
    std::error_code ec;
    const fs::path camino(ruta);
    const fs::file_status st = fs::status(camino, ec);
    if (st.type() == fs::file_type::not_found) {
        razon = "el archivo no existe.";
        return false;
    }
    if (ec) {
        razon = "no se pudo consultar el archivo (" + razon_de_lectura(ec.value()) + ").";
        return false;
    }
    if (st.type() == fs::file_type::directory) {
        razon = std::string("es una carpeta, no ") + tipo + ".";
        return false;
    }
    if (st.type() != fs::file_type::regular) {
        razon = "no es un archivo común (es un dispositivo, una tubería u otro "
                "tipo especial).";
        return false;
    }
    const std::string tope_txt = std::to_string(tope);
    const std::uintmax_t tamano = fs::file_size(camino, ec);
    if (ec) {
        razon = "no se pudo saber el tamaño del archivo (" + razon_de_lectura(ec.value()) + ").";
        return false;
    }
    if (tamano > tope) {
        razon = "el archivo ocupa " + std::to_string(tamano) + " bytes; " + tipo +
                " no puede pasar de " + tope_txt + " bytes.";
        return false;
    }

    std::FILE* f = std::fopen(ruta.c_str(), "rb");
    if (!f) {
        razon = "no se pudo abrir el archivo (" + razon_de_lectura(errno) + ").";
        return false;
    }
    // The file may have grown since it was looked at: stop one byte past the
    // limit to notice.
    bytes.clear();
    bytes.reserve(static_cast<size_t>(tamano));
    char bloque[65536];
    bool fallo = false;
    int err = 0;
    while (bytes.size() <= tope) {
        const size_t n = std::fread(bloque, 1, sizeof bloque, f);
        bytes.append(bloque, n);
        if (n < sizeof bloque) {
            fallo = std::ferror(f) != 0;
            err = errno;
            break;
        }
    }
    std::fclose(f);
    if (fallo) {
        razon = "no se pudo leer el archivo (" + razon_de_lectura(err) + ").";
        return false;
    }
    if (bytes.size() > tope) {
        razon = "el archivo pasa de " + tope_txt + " bytes.";
        return false;
    }
    return true;
}

std::string guarda_archivo(const std::string& ruta, std::string_view bytes)
{
    const std::string razon = guarda(ruta, bytes);
    if (razon.empty()) return {};
    if (ruta.empty()) return "No se pudo guardar: " + razon + ".";
    return "No se pudo guardar " + entre_comillas(ruta) + ": " + razon + ".";
}

} // namespace tev
