#include "compute/celdas_rangos.h"

#include "compute/celdas_columna.h"
#include "model/rangos.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"
#include "text_forms/texto_tabulado.h"

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

std::string pon_extremo(Store& s, int b, int e, std::string_view texto)
{
    const ExtremoDeRango& x = kExtremos[e];
    Rango r = s.rangos[b].*x.rango;
    const std::string t(texto);
    if (t.find_first_not_of(" \t") == std::string::npos) {
        (x.es_max ? r.hay_max : r.hay_min) = false;
        (x.es_max ? r.max : r.min) = 0;
    } else {
        const std::optional<float> v = lee_numero_de_celda(t);
        if (!v) return "«" + t + "» no es un número";
        (x.es_max ? r.hay_max : r.hay_min) = true;
        (x.es_max ? r.max : r.min) = *v;
    }
    const int k = e / 2;
    const float valor = valor_del_rango(s, b, k);
    switch (fallo_de_rango(r, valor)) {
    case FalloRango::ninguno:
        break;
    case FalloRango::min_sobre_max:
        return "el mínimo " + numero_corto(r.min) + " es mayor que el máximo " +
               numero_corto(r.max) + " (columna " + entre_comillas(kTitulosExtremos[2 * k + 1]) +
               ")";
    case FalloRango::min_sobre_valor:
        return "el mínimo " + numero_corto(r.min) + " deja fuera el valor del banco, " +
               numero_corto(valor) + " (columna " +
               entre_comillas(titulo_de_columna(kColumnaDelValor[k])) + ")";
    case FalloRango::max_bajo_valor:
        return "el máximo " + numero_corto(r.max) + " deja fuera el valor del banco, " +
               numero_corto(valor) + " (columna " +
               entre_comillas(titulo_de_columna(kColumnaDelValor[k])) + ")";
    }
    s.rangos[b].*x.rango = r;
    return {};
}

} // namespace tev
