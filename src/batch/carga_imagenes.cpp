#include "batch/modulo_imagenes.h"

#include "model/store.h"
#include "project_file/archivos.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tev {

namespace {

// The folder of the running program, with its final slash.
std::string carpeta_del_programa()
{
    std::vector<char> ruta(4096);
    const ssize_t n = ::readlink("/proc/self/exe", ruta.data(), ruta.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= ruta.size()) return {};
    const std::string programa(ruta.data(), static_cast<std::size_t>(n));
    const std::size_t barra = programa.rfind('/');
    return barra == std::string::npos ? std::string() : programa.substr(0, barra + 1);
}

} // namespace

const ModuloImagenes* carga_modulo_imagenes(std::string& error)
{
    const std::string carpeta = carpeta_del_programa();
    if (carpeta.empty()) {
        error = "no se sabe en qué carpeta está el programa, y con él el módulo de imágenes";
        return nullptr;
    }
    // Beside the program in a build tree; installed, in the program's own
    // folder under the libraries.
    const std::string candidatos[] = {carpeta + kArchivoModulo,
                                      carpeta + TEVARRO_MODULO_INSTALADO + "/" + kArchivoModulo};
    const std::string* elegido = nullptr;
    int razon = ENOENT;
    for (const std::string& c : candidatos) {
        struct stat st {};
        if (::stat(c.c_str(), &st) == 0) {
            elegido = &c;
            break;
        }
        if (errno != ENOENT) razon = errno;
    }
    if (!elegido) {
        error = "no se encontró el módulo de imágenes «" + candidatos[1] +
                "»: " + razon_del_sistema(razon);
        return nullptr;
    }
    // dlerror() speaks English; what it says is left out.
    void* const modulo = ::dlopen(elegido->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!modulo) {
        error = "no se pudo cargar el módulo de imágenes «" + *elegido +
                "»: le falta una biblioteca de Qt o no es un módulo de este programa";
        return nullptr;
    }
    using Entrada = const ModuloImagenes* (*)();
    const auto entrada = reinterpret_cast<Entrada>(::dlsym(modulo, kEntradaModulo));
    const ModuloImagenes* m = entrada ? entrada() : nullptr;
    if (!m || std::strcmp(m->version, TEVARRO_VERSION) != 0 || m->tamano_store != sizeof(Store)) {
        error = "el módulo de imágenes «" + *elegido + "» no es de esta versión del programa";
        return nullptr;
    }
    return m;
}

} // namespace tev
