#include "project_file/curva_subsidencia.h"

#include "project_file/comillas.h"

#include <charconv>
#include <cmath>

namespace tev {

namespace {

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";

std::string_view sin_blancos(std::string_view t)
{
    while (!t.empty() && es_blanco(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && es_blanco(t.back()))
        t.remove_suffix(1);
    return t;
}

// The rows of a CSV text, one at a time.
class Filas {
  public:
    explicit Filas(std::string_view bytes) : b_(bytes)
    {
        if (b_.substr(0, kMarcaUtf8.size()) == kMarcaUtf8) p_ = kMarcaUtf8.size();
    }

    [[nodiscard]] bool fin() const { return p_ >= b_.size(); }

    // The next row's fields; false with the reason when its quotes are wrong.
    bool lee(std::vector<std::string>& campos, std::string& error)
    {
        campos.clear();
        for (;;) {
            std::string campo;
            if (p_ < b_.size() && b_[p_] == '"') {
                const CampoEntreComillas c = lee_entre_comillas(b_, p_, ',', campo);
                if (c.cierre == CierreComillas::sin_cierre) {
                    error = "unas comillas no se cierran";
                    return false;
                }
                if (c.cierre == CierreComillas::sobra) {
                    error = "algo sigue a las comillas de un campo";
                    return false;
                }
            } else {
                const std::size_t fin = fin_de_campo(b_, p_, ',');
                campo = std::string(b_.substr(p_, fin - p_));
                p_ = fin;
            }
            campos.push_back(std::move(campo));
            if (p_ < b_.size() && b_[p_] == ',') {
                ++p_;
                continue;
            }
            if (p_ < b_.size() && b_[p_] == '\r') ++p_;
            if (p_ < b_.size() && b_[p_] == '\n') ++p_;
            return true;
        }
    }

  private:
    std::string_view b_;
    std::size_t p_ = 0;
};

struct Cabecera {
    int edad = -1;
    int subsidencia = -1;
    int archivo = -1;
};

Cabecera lee_cabecera(const std::vector<std::string>& campos)
{
    Cabecera c;
    for (std::size_t j = 0; j < campos.size(); ++j) {
        const std::string_view nombre = sin_blancos(campos[j]);
        const int idx = static_cast<int>(j);
        if (nombre == "edad" && c.edad < 0) c.edad = idx;
        if (nombre == "subsidencia_tectonica" && c.subsidencia < 0) c.subsidencia = idx;
        if (nombre == "archivo" && c.archivo < 0) c.archivo = idx;
    }
    return c;
}

bool lee_numero(std::string_view t, double& v)
{
    t = sin_blancos(t);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(v);
}

} // namespace

bool es_curva_subsidencia(std::string_view bytes)
{
    Filas filas(bytes);
    std::vector<std::string> campos;
    std::string error;
    if (filas.fin() || !filas.lee(campos, error)) return false;
    const Cabecera c = lee_cabecera(campos);
    return c.edad >= 0 && c.subsidencia >= 0;
}

LecturaCurva lee_curva_subsidencia(std::string_view bytes, const std::string& ruta)
{
    LecturaCurva res;
    const auto prefijo = [&] { return "No se pudo leer " + entre_comillas(ruta) + ": "; };
    Filas filas(bytes);
    std::vector<std::string> campos;
    std::string error;
    if (filas.fin() || !filas.lee(campos, error)) {
        res.error = prefijo() + (error.empty() ? "el archivo está vacío." : error + " (fila 1).");
        return res;
    }
    const Cabecera c = lee_cabecera(campos);
    if (c.edad < 0 || c.subsidencia < 0) {
        res.error =
            prefijo() + "la cabecera no nombra las columnas «edad» y «subsidencia_tectonica».";
        return res;
    }
    std::string archivo;
    for (int fila = 2; !filas.fin(); ++fila) {
        if (!filas.lee(campos, error)) {
            res.error = prefijo() + error + " (fila " + std::to_string(fila) + ").";
            return res;
        }
        if (campos.size() == 1 && sin_blancos(campos[0]).empty()) continue; // an empty line
        PuntoSubsidencia p;
        struct Leido {
            int columna;
            const char* nombre;
            double* destino;
        };
        const Leido leidos[] = {{c.edad, "edad", &p.edad},
                                {c.subsidencia, "subsidencia_tectonica", &p.subsidencia}};
        for (const Leido& l : leidos) {
            const auto k = static_cast<std::size_t>(l.columna);
            const std::string valor = k < campos.size() ? campos[k] : std::string();
            if (!lee_numero(valor, *l.destino)) {
                res.error =
                    prefijo() + "fila " + std::to_string(fila) + ", columna «" + l.nombre + "»: " +
                    (sin_blancos(valor).empty() ? std::string("falta el número.")
                                                : entre_comillas(valor) + " no es un número.");
                return res;
            }
        }
        if (c.archivo >= 0) {
            const auto k = static_cast<std::size_t>(c.archivo);
            const std::string de = k < campos.size() ? campos[k] : std::string();
            if (res.puntos.empty()) {
                archivo = de;
            } else if (de != archivo) {
                res.error = prefijo() + "tiene la historia de más de una columna (" +
                            entre_comillas(archivo) + " y " + entre_comillas(de) + ", fila " +
                            std::to_string(fila) + "); el ajuste toma una sola.";
                return res;
            }
        }
        res.puntos.push_back(p);
    }
    res.ok = true;
    return res;
}

} // namespace tev
