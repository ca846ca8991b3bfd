#include "compute/captura_banco.h"

#include "compute/nivel_mar.h"
#include "model/densidad.h"
#include "model/litologias.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <cmath>
#include <string>

namespace tev {

namespace {

// A box text read as the dialog reads porosity and coefficient: the leading
// number as a single; a value beyond a single leaves the field as it was.
void lee_como_dialogo(const std::string& texto, float& campo)
{
    const auto v = static_cast<float>(lee_numero_inicial(texto));
    if (std::isfinite(v)) campo = v;
}

} // namespace

Porcentajes porcentajes_mostrados(const Store& s, int b)
{
    return {lee_numero_inicial(forma_corta(s.pct_arenisca[b])),
            lee_numero_inicial(forma_corta(s.pct_pelita[b])),
            lee_numero_inicial(forma_corta(s.pct_caliza[b])),
            lee_numero_inicial(forma_corta(s.pct_evaporita[b]))};
}

bool aplica_reglas_de_banco(Store& s, int b, const Porcentajes& pct)
{
    double densidad_grano = 0; // a lithology outside the six names has no grains
    bool suma_cien = true;
    if (const Litologia* l = busca_litologia(s.litologia[b])) {
        lee_como_dialogo(l->porosidad, s.porosidad[b]);
        lee_como_dialogo(l->coeficiente, s.coef_porosidad[b]);
        densidad_grano = l->densidad_grano;
    } else if (s.litologia[b] == kPorcentual) {
        const MezclaPorcentual m = mezcla_porcentual(pct[0], pct[1], pct[2], pct[3]);
        suma_cien = m.suma_cien();
        // The dialog writes the mix in its signed form and reads that text.
        lee_como_dialogo(forma_con_signo(m.porosidad), s.porosidad[b]);
        lee_como_dialogo(forma_con_signo(m.coeficiente), s.coef_porosidad[b]);
        densidad_grano = m.densidad_grano;
    } else if (const LitologiaUsuario* u =
                   busca_litologia_usuario(s.litologias_usuario, s.litologia[b])) {
        // As the dialog writes a rock of the user's into its boxes.
        lee_como_dialogo(forma_corta(u->porosidad), s.porosidad[b]);
        lee_como_dialogo(forma_corta(u->coef_porosidad), s.coef_porosidad[b]);
        densidad_grano = u->densidad_grano;
    }
    if (tiene_densidad_grano(s, b)) densidad_grano = s.densidad_grano[b];
    buscatiempo(s, b);
    s.densidad[b] = densidad_de_superficie(s.porosidad[b], densidad_grano);
    return suma_cien;
}

bool aplica_reglas_de_banco(Store& s, int b)
{
    return aplica_reglas_de_banco(s, b, porcentajes_mostrados(s, b));
}

bool error_de_porcentajes(const Store& s, int b)
{
    if (s.litologia[b] != kPorcentual) return false;
    const Porcentajes p = porcentajes_mostrados(s, b);
    return !mezcla_porcentual(p[0], p[1], p[2], p[3]).suma_cien();
}

} // namespace tev
