#include "project_file/curva_nivel_mar.h"

#include "project_file/archivos.h"
#include "project_file/columna.h"
#include "project_file/comillas.h"
#include "project_file/lectura_comun.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <vector>

namespace tev {

namespace {

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";
constexpr const char* kEdad = "edad";
constexpr const char* kNivel = "nivel_mar";

std::string_view recorta(std::string_view t)
{
    while (!t.empty() && es_blanco(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && es_blanco(t.back()))
        t.remove_suffix(1);
    // A spreadsheet may quote any cell.
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return t;
}

std::string minusculas(std::string_view t)
{
    std::string r(t);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

// The lines of the text, each without its line end (CR LF, LF or CR).
std::vector<std::string_view> lineas(std::string_view t)
{
    std::vector<std::string_view> r;
    std::size_t a = 0;
    while (a < t.size()) {
        std::size_t b = a;
        while (b < t.size() && !es_fin_de_linea(t[b]))
            ++b;
        r.push_back(t.substr(a, b - a));
        if (b < t.size() && t[b] == '\r' && b + 1 < t.size() && t[b + 1] == '\n') ++b;
        a = b + 1;
    }
    return r;
}

std::vector<std::string_view> celdas(std::string_view linea, char sep)
{
    std::vector<std::string_view> r;
    std::size_t a = 0;
    for (;;) {
        const std::size_t b = linea.find(sep, a);
        r.push_back(recorta(linea.substr(a, b == std::string_view::npos ? b : b - a)));
        if (b == std::string_view::npos) return r;
        a = b + 1;
    }
}

bool en_blanco(std::string_view linea)
{
    return std::all_of(linea.begin(), linea.end(),
                       [](char c) { return es_blanco(c) || c == ',' || c == ';'; });
}

// The whole text as a finite number; with semicolons a decimal comma too.
bool lee_numero(std::string_view t, char sep, double& v)
{
    std::string normal(t);
    if (sep == ';') std::replace(normal.begin(), normal.end(), ',', '.');
    const char* ini = normal.data();
    const char* fin = ini + normal.size();
    if (ini != fin && *ini == '+') ++ini;
    const auto r = std::from_chars(ini, fin, v);
    return r.ec == std::errc() && r.ptr == fin && std::isfinite(v);
}

std::string muestra(std::string_view t)
{
    return entre_comillas(es_utf8_valido(t) ? std::string(t) : utf8_reemplazado(t));
}

} // namespace

LecturaCurva lee_curva_nivel_mar(std::string_view bytes, const std::string& archivo)
{
    LecturaCurva res;
    const std::string prefijo =
        "No se pudo leer la curva del nivel del mar " + entre_comillas(archivo) + ": ";
    const std::string motivo = motivo_de_no_texto(bytes, "una curva del nivel del mar es texto");
    if (!motivo.empty()) {
        res.error = prefijo + motivo;
        return res;
    }
    if (bytes.substr(0, kMarcaUtf8.size()) == kMarcaUtf8) bytes.remove_prefix(kMarcaUtf8.size());
    const std::vector<std::string_view> ls = lineas(bytes);
    std::size_t k = 0;
    while (k < ls.size() && en_blanco(ls[k]))
        ++k;
    const std::string explica = "su primera línea nombra las columnas «edad» (Ma) y «nivel_mar» "
                                "(m sobre el nivel actual), y cada línea que sigue es un punto "
                                "de la curva.";
    if (k == ls.size()) {
        res.error = prefijo + "el archivo está vacío; " + explica;
        return res;
    }
    const std::string_view cab = ls[k];
    const std::size_t primer_sep = cab.find_first_of(",;");
    const char sep = primer_sep == std::string_view::npos ? ',' : cab[primer_sep];
    const std::vector<std::string_view> nombres = celdas(cab, sep);
    int col_edad = -1;
    int col_nivel = -1;
    for (std::size_t j = 0; j < nombres.size(); ++j) {
        const std::string clave = minusculas(nombres[j]);
        if (clave == kEdad && col_edad < 0) {
            col_edad = static_cast<int>(j);
        } else if (clave == kNivel && col_nivel < 0) {
            col_nivel = static_cast<int>(j);
        } else {
            std::string que = "tiene una columna sin nombre";
            if (clave == kEdad || clave == kNivel) {
                que = "nombra dos veces la columna ";
                que += entre_comillas(clave);
            } else if (!nombres[j].empty()) {
                que = "tiene la columna ";
                que += muestra(nombres[j]);
            }
            res.error = prefijo + "la cabecera (línea " + std::to_string(k + 1) + ") ";
            res.error += que;
            res.error += "; ";
            res.error += explica;
            return res;
        }
    }
    if (col_edad < 0 || col_nivel < 0) {
        res.error = prefijo + "a la cabecera (línea " + std::to_string(k + 1) +
                    ") le falta la columna " + (col_edad < 0 ? "«edad»" : "«nivel_mar»") + "; " +
                    explica;
        return res;
    }

    std::vector<double> edades;
    std::vector<double> niveles;
    std::vector<std::size_t> linea_de; // of each point, for the messages
    for (++k; k < ls.size(); ++k) {
        if (en_blanco(ls[k])) continue;
        const std::string donde = prefijo + "línea " + std::to_string(k + 1);
        const std::vector<std::string_view> c = celdas(ls[k], sep);
        for (std::size_t j = 2; j < c.size(); ++j) {
            if (c[j].empty()) continue;
            res.error = donde + ": tiene " + muestra(c[j]) + " en la celda " +
                        std::to_string(j + 1) + ", y la cabecera nombra 2 columnas" +
                        (sep == ',' ? " (con comas entre las columnas, los decimales van tras "
                                      "un punto)."
                                    : ".");
            return res;
        }
        double valores[2] = {0, 0};
        for (int j : {col_edad, col_nivel}) {
            const char* nombre = j == col_edad ? kEdad : kNivel;
            const auto u = static_cast<std::size_t>(j);
            const std::string columna = ", columna " + entre_comillas(nombre) + ": ";
            if (u >= c.size() || c[u].empty()) {
                res.error = donde + columna + "falta el número.";
                return res;
            }
            if (!lee_numero(c[u], sep, valores[j == col_edad ? 0 : 1])) {
                res.error = donde + columna + muestra(c[u]) + " no es un número.";
                return res;
            }
        }
        edades.push_back(valores[0]);
        niveles.push_back(valores[1]);
        linea_de.push_back(k + 1);
    }
    if (edades.empty()) {
        res.error = prefijo + "el archivo no tiene puntos; " + explica;
        return res;
    }
    std::vector<std::size_t> orden(edades.size());
    std::iota(orden.begin(), orden.end(), std::size_t{0});
    std::stable_sort(orden.begin(), orden.end(),
                     [&](std::size_t a, std::size_t b) { return edades[a] < edades[b]; });
    CurvaNivelMar& curva = res.curva;
    curva.tipo = CurvaNivelMar::Tipo::usuario;
    curva.archivo = archivo;
    for (std::size_t p = 0; p < orden.size(); ++p) {
        const std::size_t i = orden[p];
        if (p > 0 && edades[i] == curva.edades.back()) {
            const std::size_t antes = linea_de[orden[p - 1]];
            res.error = prefijo + "las líneas " + std::to_string(std::min(antes, linea_de[i])) +
                        " y " + std::to_string(std::max(antes, linea_de[i])) +
                        " dan la misma edad; cada edad va una sola vez.";
            return res;
        }
        curva.edades.push_back(edades[i]);
        curva.niveles.push_back(niveles[i]);
    }
    res.ok = true;
    return res;
}

LecturaCurva lee_archivo_curva(const std::string& ruta)
{
    std::string bytes;
    std::string razon;
    if (!lee_archivo_entero(ruta, kTamanoMaximoArchivo, "una curva del nivel del mar", bytes,
                            razon)) {
        LecturaCurva res;
        res.error =
            "No se pudo leer la curva del nivel del mar " + entre_comillas(ruta) + ": " + razon;
        return res;
    }
    return lee_curva_nivel_mar(bytes, ruta);
}

LecturaCurva elige_curva(const std::string& eleccion)
{
    LecturaCurva res;
    if (eleccion == "tabla" || eleccion == "ninguno") {
        res.ok = true;
        res.curva.tipo =
            eleccion == "tabla" ? CurvaNivelMar::Tipo::tabla : CurvaNivelMar::Tipo::ninguna;
        return res;
    }
    return lee_archivo_curva(eleccion);
}

} // namespace tev
