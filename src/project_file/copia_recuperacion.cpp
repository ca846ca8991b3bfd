#include "project_file/copia_recuperacion.h"

#include "project_file/comillas.h"
#include "project_file/csv_columna.h"

#include <charconv>
#include <system_error>

namespace tev {

namespace {

constexpr std::string_view kMarca = "tevarro-recuperacion,1,";

// A whole decimal integer field ending at the next comma; false when it is
// not one.
bool lee_entero(std::string_view bytes, std::size_t& p, std::int64_t& v)
{
    const std::size_t fin = bytes.find(',', p);
    if (fin == std::string_view::npos) return false;
    const char* ini = bytes.data() + p;
    const auto [ptr, ec] = std::from_chars(ini, bytes.data() + fin, v);
    if (ec != std::errc() || ptr != bytes.data() + fin || fin == p) return false;
    p = fin + 1;
    return true;
}

} // namespace

std::string cabecera_copia(const DatosCopia& datos)
{
    std::string out(kMarca);
    out += std::to_string(datos.pid) + ',' + std::to_string(datos.ultimo_cambio_ms) + ",\"";
    // Quoted by hand: the rule quotes only on demand, and the reader wants the
    // quotes even around an empty path.
    for (char c : datos.ruta_original) {
        if (c == '"') out += '"';
        out += c;
    }
    out += "\"\r\n";
    return out;
}

EscrituraColumna escribe_copia(const Store& s, const DatosCopia& datos)
{
    EscrituraColumna w = escribe_csv(s);
    if (w.ok) w.bytes.insert(0, cabecera_copia(datos));
    return w;
}

LecturaCopia lee_copia(std::string_view bytes, const std::string& nombre_archivo)
{
    LecturaCopia res;
    const auto falla = [&](const std::string& que) {
        res.error = "La copia de recuperación " + entre_comillas(nombre_archivo) + " " + que;
        return res;
    };
    if (bytes.substr(0, kMarca.size()) != kMarca)
        return falla("no empieza por «tevarro-recuperacion,1,»: no es una copia de esta versión.");
    std::size_t p = kMarca.size();
    if (!lee_entero(bytes, p, res.datos.pid) || !lee_entero(bytes, p, res.datos.ultimo_cambio_ms))
        return falla("no tiene en su primera línea el número del proceso y la hora del cambio.");
    if (p >= bytes.size() || bytes[p] != '"')
        return falla("no tiene en su primera línea la ruta del archivo entre comillas.");
    const CampoEntreComillas campo = lee_entre_comillas(bytes, p, ',', res.datos.ruta_original);
    if (campo.cierre != CierreComillas::bien || bytes.substr(p, 2) != "\r\n")
        return falla("tiene la ruta del archivo mal cerrada en su primera línea.");
    const LecturaColumna columna = lee_csv(bytes.substr(p + 2), nombre_archivo);
    if (!columna.ok) {
        res.error = columna.error;
        return res;
    }
    res.bancos = columna.bancos;
    res.forma = columna.forma;
    res.ok = true;
    return res;
}

} // namespace tev
