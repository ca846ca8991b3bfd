#include "project_file/litologias_csv.h"

#include "project_file/archivos.h"
#include "project_file/columna.h"
#include "project_file/comillas.h"
#include "project_file/lectura_comun.h"
#include "text_forms/formas_numericas.h"

#include <algorithm>
#include <array>

namespace tev {

namespace {

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";
constexpr std::array<const char*, 4> kColumnas = {"nombre", "densidad_grano", "porosidad",
                                                  "coef_porosidad"};
constexpr ReglaComillas kComillas{",;\"\r\n", true, true};

std::string recorta(std::string_view t)
{
    while (!t.empty() && es_blanco(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && es_blanco(t.back()))
        t.remove_suffix(1);
    return std::string(t);
}

std::string muestra(std::string_view t)
{
    return entre_comillas(es_utf8_valido(t) ? std::string(t) : utf8_reemplazado(t));
}

// The rows of the text, each a list of cells; false with the reason when a
// quote is wrong (fila: the row it happened in, from 1).
bool filas_de(std::string_view b, char sep, std::vector<std::vector<std::string>>& filas,
              std::string& error, std::size_t& fila)
{
    std::size_t p = 0;
    fila = 1;
    while (p < b.size()) {
        std::vector<std::string> celdas;
        for (;;) {
            std::string c;
            if (p < b.size() && b[p] == '"') {
                const CampoEntreComillas q = lee_entre_comillas(b, p, sep, c);
                if (q.cierre == CierreComillas::sin_cierre) {
                    error = "unas comillas no se cierran antes del fin del archivo";
                    return false;
                }
                if (q.cierre == CierreComillas::sobra) {
                    error = "después de unas comillas de cierre hay " + muestra(q.sobrante);
                    return false;
                }
            } else {
                const std::size_t fin = fin_de_campo(b, p, sep);
                c = b.substr(p, fin - p);
                p = fin;
            }
            celdas.push_back(std::move(c));
            if (p < b.size() && b[p] == sep) {
                ++p;
                continue;
            }
            if (p < b.size() && b[p] == '\r') ++p;
            if (p < b.size() && b[p] == '\n') ++p;
            break;
        }
        filas.push_back(std::move(celdas));
        ++fila;
    }
    return true;
}

bool en_blanco(const std::vector<std::string>& celdas)
{
    return std::all_of(celdas.begin(), celdas.end(),
                       [](const std::string& c) { return recorta(c).empty(); });
}

} // namespace

LecturaLitologias lee_litologias_csv(std::string_view bytes, const std::string& archivo)
{
    LecturaLitologias res;
    const std::string prefijo = "No se pudo leer " + entre_comillas(archivo) + ": ";
    const std::string explica =
        "su primera fila nombra las columnas «nombre», «densidad_grano» (kg/m³), «porosidad» y "
        "«coef_porosidad» (1/km), y cada fila que sigue es una litología.";
    const std::string motivo = motivo_de_no_texto(bytes, "un archivo de litologías es texto");
    if (!motivo.empty()) {
        res.error = prefijo + motivo;
        return res;
    }
    if (bytes.substr(0, kMarcaUtf8.size()) == kMarcaUtf8) bytes.remove_prefix(kMarcaUtf8.size());
    if (!es_utf8_valido(bytes)) {
        res.error = prefijo + "el archivo no está en UTF-8.";
        return res;
    }
    const std::size_t primer_sep = bytes.find_first_of(",;\r\n");
    const char sep = primer_sep != std::string_view::npos && bytes[primer_sep] == ';' ? ';' : ',';
    std::vector<std::vector<std::string>> filas;
    std::string error;
    std::size_t fila_mala = 0;
    if (!filas_de(bytes, sep, filas, error, fila_mala)) {
        res.error = prefijo + "fila " + std::to_string(fila_mala) + ": " + error + ".";
        return res;
    }
    std::size_t k = 0;
    while (k < filas.size() && en_blanco(filas[k]))
        ++k;
    if (k == filas.size()) {
        res.error = prefijo + "el archivo está vacío; " + explica;
        return res;
    }
    std::array<int, 4> col{-1, -1, -1, -1};
    // What is wrong with the header, and what it should be.
    const auto cabecera_mala = [&](const std::string& que) {
        res.error = prefijo;
        res.error += "la cabecera (fila ";
        res.error += std::to_string(k + 1);
        res.error += ") ";
        res.error += que;
        res.error += "; ";
        res.error += explica;
        return res;
    };
    for (std::size_t j = 0; j < filas[k].size(); ++j) {
        std::string clave = recorta(filas[k][j]);
        std::transform(clave.begin(), clave.end(), clave.begin(), [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        });
        const auto it = std::find(kColumnas.begin(), kColumnas.end(), clave);
        if (it == kColumnas.end())
            return cabecera_mala(clave.empty()
                                     ? std::string("tiene una columna sin nombre")
                                     : "tiene la columna " + muestra(recorta(filas[k][j])));
        int& c = col[static_cast<std::size_t>(it - kColumnas.begin())];
        if (c >= 0) return cabecera_mala("nombra dos veces la columna " + entre_comillas(clave));
        c = static_cast<int>(j);
    }
    for (std::size_t c = 0; c < col.size(); ++c)
        if (col[c] < 0) return cabecera_mala("no tiene la columna " + entre_comillas(kColumnas[c]));

    for (++k; k < filas.size(); ++k) {
        const std::vector<std::string>& f = filas[k];
        if (en_blanco(f)) continue;
        const std::string donde = prefijo + "fila " + std::to_string(k + 1);
        for (std::size_t j = kColumnas.size(); j < f.size(); ++j) {
            if (recorta(f[j]).empty()) continue;
            res.error = donde + ": tiene " + muestra(recorta(f[j])) + " en la celda " +
                        std::to_string(j + 1) + ", y la cabecera nombra 4 columnas" +
                        (sep == ',' ? " (con comas entre las columnas, los decimales van tras "
                                      "un punto)."
                                    : ".");
            return res;
        }
        auto celda = [&](std::size_t c) {
            const auto j = static_cast<std::size_t>(col[c]);
            return j < f.size() ? recorta(f[j]) : std::string();
        };
        auto en_columna = [&](std::size_t c) {
            return donde + ", columna " + entre_comillas(kColumnas[c]) + ": ";
        };
        LitologiaUsuario r;
        r.nombre = celda(0);
        const std::string mal_nombre = motivo_de_nombre(r.nombre, res.rocas);
        if (!mal_nombre.empty()) {
            res.error = en_columna(0) + mal_nombre + ".";
            return res;
        }
        struct Valor {
            std::size_t columna;
            float* valor;
            std::string (*motivo)(float); // why the value is not a rock's
        };
        const Valor valores[] = {{1, &r.densidad_grano, motivo_de_densidad_grano},
                                 {2, &r.porosidad, motivo_de_porosidad},
                                 {3, &r.coef_porosidad, motivo_de_coef_porosidad}};
        for (const Valor& v : valores) {
            std::string t = celda(v.columna);
            const std::string mostrado = muestra(t);
            if (sep == ';') std::replace(t.begin(), t.end(), ',', '.');
            const Conversion conv = convierte_real(t, *v.valor);
            if (conv == Conversion::vacio) {
                res.error = en_columna(v.columna) + "falta el número.";
                return res;
            }
            if (conv != Conversion::ok) {
                res.error = en_columna(v.columna) + explica_conversion(conv, mostrado, false);
                return res;
            }
            const std::string fuera = v.motivo(*v.valor);
            if (!fuera.empty()) {
                res.error = en_columna(v.columna) + fuera + ".";
                return res;
            }
        }
        res.rocas.push_back(std::move(r));
    }
    res.ok = true;
    return res;
}

LecturaLitologias lee_archivo_litologias(const std::string& ruta)
{
    std::string bytes;
    std::string razon;
    if (!lee_archivo_entero(ruta, kTamanoMaximoArchivo, "un archivo de litologías", bytes, razon)) {
        LecturaLitologias res;
        res.error = "No se pudo leer " + entre_comillas(ruta) + ": " + razon;
        return res;
    }
    return lee_litologias_csv(bytes, ruta);
}

std::string escribe_litologias_csv(const std::vector<LitologiaUsuario>& rocas)
{
    std::string out(kMarcaUtf8);
    out += "nombre,densidad_grano,porosidad,coef_porosidad\r\n";
    for (const LitologiaUsuario& r : rocas) {
        agrega_campo_csv(out, r.nombre, kComillas);
        for (const float v : {r.densidad_grano, r.porosidad, r.coef_porosidad})
            out += "," + numero_corto(v);
        out += "\r\n";
    }
    return out;
}

} // namespace tev
