#include "project_file/archivos.h"

#include "project_file/archivos_temporales.h"
#include "project_file/comillas.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
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

// Whether the user may write the existing file st describes. An ordinary
// user: as the system decides it (permission bits and access lists). The
// superuser may write any file, but a file with no write bit at all is
// read-only by its owner's wish, and is taken as such.
bool se_puede_escribir(const std::string& destino, const struct stat& st)
{
    if (::geteuid() == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    if (::faccessat(AT_FDCWD, destino.c_str(), W_OK, AT_EACCESS) == 0) return true;
    // A read-only disk is told by the save itself, as "solo lectura" of the disk.
    return errno != EACCES && errno != EPERM;
}

// Where the save happens: the target's folder, and its temporary files'
// names. A temporary file is named "." + the target's name + ".tevarro-" +
// six letters or digits; the target's name is cut short (not inside a UTF-8
// character) when the whole would pass the longest name the folder allows.
struct Lugar {
    std::filesystem::path carpeta;
    std::string prefijo;

    [[nodiscard]] std::string temporal(std::string_view azar) const
    {
        return (carpeta / (prefijo + std::string(azar))).string();
    }
};

constexpr std::string_view kMarcaTemporal = ".tevarro-";
constexpr std::size_t kLetrasAlAzar = 6;

Lugar lugar_de(const std::string& destino)
{
    namespace fs = std::filesystem;
    const fs::path camino(destino);
    Lugar l;
    l.carpeta = camino.has_parent_path() ? camino.parent_path() : fs::path(".");
    const std::string nombre = camino.filename().string();
    long tope = ::pathconf(l.carpeta.c_str(), _PC_NAME_MAX);
    if (tope <= 0) tope = NAME_MAX;
    const std::size_t agregado = 1 + kMarcaTemporal.size() + kLetrasAlAzar;
    std::size_t largo = nombre.size();
    if (largo + agregado > static_cast<std::size_t>(tope)) {
        largo = static_cast<std::size_t>(tope) > agregado
                    ? static_cast<std::size_t>(tope) - agregado
                    : 0;
        for (int k = 0;
             k < 3 && largo > 0 && (static_cast<unsigned char>(nombre[largo]) & 0xC0) == 0x80; ++k)
            --largo;
    }
    l.prefijo = "." + nombre.substr(0, largo) + std::string(kMarcaTemporal);
    return l;
}

bool es_letra_al_azar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Six letters or digits for a temporary name.
std::string al_azar()
{
    static const char kLetras[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned contador = 0;
    unsigned char azar[kLetrasAlAzar];
    if (::getrandom(azar, sizeof azar, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof azar)) {
        // Unlikely; a name taken is tried again anyway.
        const auto t =
            static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
        for (std::size_t k = 0; k < kLetrasAlAzar; ++k)
            azar[k] = static_cast<unsigned char>(
                (t >> (5 * k)) + static_cast<unsigned long>(::getpid()) + 7UL * ++contador);
    }
    std::string r;
    for (unsigned char b : azar)
        r += kLetras[b % (sizeof kLetras - 1)];
    return r;
}

// Removes the temporary files that earlier saves of the same target left
// when they were killed midway. A file is taken for one by its name, and
// removed only when no save still holds it: every save keeps its temporary
// file locked (flock) while the file has a name, and the lock ends with the
// process. Best effort: what cannot be looked at is left where it is.
void barre_restos(const Lugar& l)
{
    const int carpeta = ::open(l.carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (carpeta < 0) return;
    DIR* d = ::fdopendir(carpeta);
    if (!d) {
        ::close(carpeta);
        return;
    }
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n(e->d_name);
        if (n.size() != l.prefijo.size() + kLetrasAlAzar ||
            n.substr(0, l.prefijo.size()) != l.prefijo ||
            !std::all_of(n.begin() + static_cast<std::ptrdiff_t>(l.prefijo.size()), n.end(),
                         es_letra_al_azar))
            continue;
        const int fd =
            ::openat(carpeta, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat abierto {};
        struct stat ahora {};
        if (::fstat(fd, &abierto) == 0 && S_ISREG(abierto.st_mode) &&
            abierto.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(carpeta, e->d_name, &ahora, AT_SYMLINK_NOFOLLOW) == 0 &&
            ahora.st_dev == abierto.st_dev && ahora.st_ino == abierto.st_ino)
            ::unlinkat(carpeta, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

// The reason when no temporary file can be made in the folder.
std::string razon_de_la_carpeta(int err, const std::filesystem::path& carpeta)
{
    if (err == ENOENT) return "la carpeta " + entre_comillas(carpeta.string()) + " no existe";
    if (err == EACCES || err == EPERM)
        return "no tiene permiso para escribir en la carpeta " + entre_comillas(carpeta.string());
    return razon_del_sistema(err);
}

// Writes every byte, gives the file its permissions and waits until the data
// are on the disk; 0, or the errno of the failure.
int escribe_y_asienta(int fd, std::string_view bytes, mode_t permisos)
{
    if (!escribe_todo(fd, bytes)) return errno;
    if (::fchmod(fd, permisos) != 0) return errno;
    // A full disk may only show itself here, when the data reach it.
    if (::fsync(fd) != 0) return errno;
    return 0;
}

// Closes fd, whose file now has the name temporal, keeping its lock (a second
// descriptor holds it) until the rename over destino is done: closing reports
// a late write error, and a save of the same target that runs meanwhile must
// not take the file for a leftover. temporal == destino: already in place.
std::string cierra_y_renombra(int fd, const std::string& temporal, const std::string& destino)
{
    const int cerrojo = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    std::string razon;
    if (::close(fd) != 0 ||
        (temporal != destino && ::rename(temporal.c_str(), destino.c_str()) != 0)) {
        razon = razon_del_sistema(errno);
        ::unlink(temporal.c_str());
    }
    if (cerrojo >= 0) ::close(cerrojo);
    return razon;
}

// The save through a file with a name from its start (mkostemp), where the
// file system has no unnamed files: a save killed midway leaves it, and the
// next save of the same target removes it.
std::string guarda_con_nombre(const Lugar& l, const std::string& destino, std::string_view bytes,
                              mode_t permisos)
{
    int fd = -1;
    std::string temporal;
    for (int intento = 0;; ++intento) {
        temporal = l.temporal("XXXXXX");
        fd = ::mkostemp(temporal.data(), O_CLOEXEC);
        if (fd < 0) return razon_de_la_carpeta(errno, l.carpeta);
        // A save of the same target running at this moment may have found
        // the file before it was locked, and removed it: another name.
        struct stat st {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &st) == 0 && st.st_nlink == 0 && intento < 8) {
            ::close(fd);
            continue;
        }
        break;
    }
    if (const int err = escribe_y_asienta(fd, bytes, permisos)) {
        ::close(fd);
        ::unlink(temporal.c_str());
        return razon_del_sistema(err);
    }
    return cierra_y_renombra(fd, temporal, destino);
}

// Gives the unnamed file fd the name nombre; 0 or the errno.
int enlaza(int fd, const std::string& nombre)
{
    const std::string propio = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, propio.c_str(), AT_FDCWD, nombre.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT) return errno;
    // Without /proc: the descriptor itself (a privilege on older systems).
    if (::linkat(fd, "", AT_FDCWD, nombre.c_str(), AT_EMPTY_PATH) == 0) return 0;
    return errno;
}

// The save through an unnamed file (Linux's O_TMPFILE) in the target's
// folder, which gets a name only once complete: a save killed while it writes
// leaves nothing behind. No value when the file system has no unnamed files.
std::optional<std::string> guarda_invisible(const Lugar& l, const std::string& destino, bool existe,
                                            std::string_view bytes, mode_t permisos)
{
    const int fd = ::open(l.carpeta.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, permisos);
    if (fd < 0) {
        const int err = errno;
        if (err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOSYS)
            return std::nullopt;
        return razon_de_la_carpeta(err, l.carpeta);
    }
    // Locked before it has a name, for as long as it has a temporary one.
    ::flock(fd, LOCK_EX);
    if (const int err = escribe_y_asienta(fd, bytes, permisos)) {
        ::close(fd);
        return razon_del_sistema(err);
    }
    // A new file takes its name at once; an old one is replaced through a
    // temporary name, renamed over it.
    if (!existe) {
        const int err = enlaza(fd, destino);
        if (err == 0) return cierra_y_renombra(fd, destino, destino);
        if (err != EEXIST) {
            ::close(fd);
            if (err == ENOENT || err == EPERM) return std::nullopt;
            return razon_del_sistema(err);
        }
    }
    for (int intento = 0;; ++intento) {
        const std::string temporal = l.temporal(al_azar());
        const int err = enlaza(fd, temporal);
        if (err == 0) return cierra_y_renombra(fd, temporal, destino);
        if (err == EEXIST && intento < 16) continue;
        ::close(fd);
        if (err == ENOENT || err == EPERM) return std::nullopt;
        return razon_del_sistema(err);
    }
}

std::string guarda(const std::string& ruta, std::string_view bytes, Temporal como)
{
    if (ruta.empty()) return "falta el nombre del archivo";
    std::string destino;
    std::string error;
    if (!resuelve_destino(ruta, destino, error)) return error;

    mode_t permisos = 0;
    bool existe = false;
    struct stat st {};
    if (::stat(destino.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return "es una carpeta, no un archivo";
        if (!S_ISREG(st.st_mode))
            return "no es un archivo común (es una tubería, un dispositivo, un socket u otro "
                   "tipo especial) y no se reemplaza";
        if (!se_puede_escribir(destino, st))
            return "el archivo es de solo lectura (no tiene permiso para escribirlo) y no se "
                   "reemplaza";
        permisos = st.st_mode & 07777;
        existe = true;
    } else if (errno == ENOENT) {
        permisos = permisos_nuevos();
    } else {
        return razon_del_sistema(errno);
    }

    const Lugar l = lugar_de(destino);
    barre_restos(l);
    std::optional<std::string> razon;
    if (como == Temporal::sin_nombre) razon = guarda_invisible(l, destino, existe, bytes, permisos);
    if (!razon) razon = guarda_con_nombre(l, destino, bytes, permisos);
    if (!razon->empty()) return *razon;
    // The new name itself reaches the disk with the folder (best effort: some
    // file systems cannot sync a folder, and the file is already in place).
    const int dir = ::open(l.carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    return guarda_archivo(ruta, bytes, Temporal::sin_nombre);
}

std::string guarda_archivo(const std::string& ruta, std::string_view bytes, Temporal como)
{
    const std::string razon = guarda(ruta, bytes, como);
    if (razon.empty()) return {};
    if (ruta.empty()) return "No se pudo guardar: " + razon + ".";
    return "No se pudo guardar " + entre_comillas(ruta) + ": " + razon + ".";
}

} // namespace tev
