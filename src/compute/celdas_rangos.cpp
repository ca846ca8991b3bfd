#include "compute/celdas_rangos.h"

#include "model/rangos.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"
#include "text_forms/texto_tabulado.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tev {

namespace {

const char* const kTitulosExtremos[kNumExtremos] = {
    "Paleobatimetría mín. (m)", "Paleobatimetría máx. (m)", "Edad del techo mín. (Ma)",
    "Edad del techo máx. (Ma)", "Porosidad mín.",           "Porosidad máx.",
    "Coeficiente mín. (1/km)",  "Coeficiente máx. (1/km)",
};

// The table column of the value each range ranges over, in the order of
// kExtremos' pairs.
const int kColumnaDelValor[kNumExtremos / 2] = {kColPaleobatimetria, kColEdadTecho, kColPorosidad,
                                                kColCoeficiente};

float valor_del_rango(const Store& s, int b, int k)
{
    switch (kColumnaDelValor[k]) {
    case kColPaleobatimetria:
        return s.paleobatimetria[b];
    case kColEdadTecho:
        return s.edad_techo[b];
    case kColPorosidad:
        return s.porosidad[b];
    default:
        return s.coef_porosidad[b];
    }
}

std::string entre_comillas(const char* t)
{
    return std::string("«") + t + "»";
}

} // namespace

const char* titulo_de_extremo(int e)
{
    return kTitulosExtremos[e];
}

std::string texto_de_extremo(const Store& s, int b, int e, char decimal)
{
    const ExtremoDeRango& x = kExtremos[e];
    const Rango& r = s.rangos[b].*x.rango;
    if (!(x.es_max ? r.hay_max : r.hay_min)) return {};
    return numero_con_marca(x.es_max ? r.max : r.min, decimal);
}

namespace {

// Puts texto into end e of bed b without looking at the other end or the
// value; why not when it is not a number.
std::string pon_sin_comprobar(Store& s, int b, int e, std::string_view texto)
{
    const ExtremoDeRango& x = kExtremos[e];
    Rango& r = s.rangos[b].*x.rango;
    const std::string t(texto);
    if (t.find_first_not_of(" \t") == std::string::npos) {
        (x.es_max ? r.hay_max : r.hay_min) = false;
        (x.es_max ? r.max : r.min) = 0;
        return {};
    }
    const std::optional<float> v = lee_numero_de_celda(t);
    if (!v) return "«" + t + "» no es un número";
    (x.es_max ? r.hay_max : r.hay_min) = true;
    (x.es_max ? r.max : r.min) = *v;
    return {};
}

// What is wrong with range k (0..3) of bed b, and the end to blame (as the
// CSV reading blames it: the maximum when it falls below the value, the
// minimum otherwise); empty when nothing.
std::pair<std::string, int> fallo(const Store& s, int b, int k)
{
    const int e_min = 2 * k;
    const Rango& r = s.rangos[b].*kExtremos[e_min].rango;
    const float valor = valor_del_rango(s, b, k);
    switch (fallo_de_rango(r, valor)) {
    case FalloRango::ninguno:
        break;
    case FalloRango::min_sobre_max:
        return {"el mínimo " + numero_corto(r.min) + " es mayor que el máximo " +
                    numero_corto(r.max) + " (columna " +
                    entre_comillas(kTitulosExtremos[2 * k + 1]) + ")",
                2 * k};
    case FalloRango::min_sobre_valor:
        return {"el mínimo " + numero_corto(r.min) + " deja fuera el valor del banco, " +
                    numero_corto(valor) + " (columna " +
                    entre_comillas(titulo_de_columna(kColumnaDelValor[k])) + ")",
                2 * k};
    case FalloRango::max_bajo_valor:
        return {"el máximo " + numero_corto(r.max) + " deja fuera el valor del banco, " +
                    numero_corto(valor) + " (columna " +
                    entre_comillas(titulo_de_columna(kColumnaDelValor[k])) + ")",
                2 * k + 1};
    }
    return {};
}

} // namespace

std::string pon_extremo(Store& s, int b, int e, std::string_view texto)
{
    const Rango antes = s.rangos[b].*kExtremos[e].rango;
    std::string motivo = pon_sin_comprobar(s, b, e, texto);
    if (motivo.empty()) motivo = fallo(s, b, e / 2).first;
    if (!motivo.empty()) s.rangos[b].*kExtremos[e].rango = antes;
    return motivo;
}

std::optional<RechazoDeCelda> pon_celdas_y_rangos(Store& s, int fila, int columna,
                                                  const FilasDeTexto& filas)
{
    Store prueba = s;
    if (columna < kColumnasTabla) {
        FilasDeTexto propias;
        for (const auto& f : filas) {
            const auto n = std::min(f.size(), static_cast<size_t>(kColumnasTabla - columna));
            propias.emplace_back(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n));
        }
        if (auto r = pon_celdas(prueba, fila, columna, propias)) return r;
    }
    for (size_t i = 0; i < filas.size(); ++i) {
        const int f = fila + static_cast<int>(i);
        bool tocados[kNumExtremos / 2] = {false, false, false, false};
        int b = 0;
        for (size_t j = 0; j < filas[i].size(); ++j) {
            const int c = columna + static_cast<int>(j);
            if (c < kColumnasTabla || c >= kColumnasTabla + kNumExtremos) continue;
            if (f >= prueba.n_bancos) return RechazoDeCelda{f, c, 0, "no hay un banco en esa fila"};
            b = banco_de_fila(prueba, f);
            const int e = c - kColumnasTabla;
            std::string motivo = pon_sin_comprobar(prueba, b, e, filas[i][j]);
            if (!motivo.empty()) return RechazoDeCelda{f, c, b, std::move(motivo)};
            tocados[e / 2] = true;
        }
        for (int k = 0; k < kNumExtremos / 2; ++k) {
            if (!tocados[k]) continue;
            auto [motivo, e] = fallo(prueba, b, k);
            if (!motivo.empty()) return RechazoDeCelda{f, kColumnasTabla + e, b, std::move(motivo)};
        }
    }
    s = std::move(prueba);
    return std::nullopt;
}

std::string copia_celdas_y_rangos(const Store& s, const std::vector<int>& filas,
                                  const std::vector<int>& columnas, char decimal, bool titulos,
                                  const std::vector<bool>& marcadas)
{
    return copia_en_forma(
        s, filas, columnas, titulos, marcadas,
        [](int c) {
            return c >= kColumnasTabla ? std::string(titulo_de_extremo(c - kColumnasTabla))
                                       : std::string(titulo_de_columna(c));
        },
        [&s, decimal](int b, int c) {
            return c >= kColumnasTabla ? texto_de_extremo(s, b, c - kColumnasTabla, decimal)
                                       : texto_de_celda(s, b, c, decimal);
        });
}

} // namespace tev
