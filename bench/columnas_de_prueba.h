#pragma once
// The 100-bed columns the benchmarks time: a varied one, each bed of it
// decided by the fast search, and one whose porosity above 1 sends every bed
// to the full scan; and the ranges the uncertainty benchmarks draw.

#include "compute/incertidumbre.h"
#include "compute/nivel_mar.h"
#include "model/densidad.h"
#include "model/store.h"

#include <memory>
#include <string>

namespace tev {

// Bed 100 at the top; variante moves the thicknesses, so that files differ.
inline std::unique_ptr<Store> columna_de_cien(int variante = 0, float porosidad_fija = -1)
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    limpia_bancos(*s);
    const char* lits[] = {kPelitas, kAreniscas, kArcosas, kEvaporitas, kCalizas};
    const float poros[] = {0.63f, 0.49f, 0.56f, 0.70f, 0.56f};
    const float coefs[] = {0.51f, 0.27f, 0.39f, 0.71f, 0.39f};
    s->n_bancos = 100;
    float techo = 0;
    for (int i = 100; i >= 1; --i) {
        const int l = i % 5;
        const float espesor = 20.0f + static_cast<float>((i * 37 + variante * 11) % 180);
        s->nombre[i] = "Banco " + std::to_string(i);
        s->techo[i] = techo;
        s->base[i] = techo + espesor;
        techo = s->base[i];
        s->edad_techo[i] = static_cast<float>(100 - i) * 1.5f;
        s->edad_base[i] = static_cast<float>(101 - i) * 1.5f;
        s->litologia[i] = lits[l];
        s->porosidad[i] = porosidad_fija >= 0 ? porosidad_fija : poros[l];
        s->coef_porosidad[i] = coefs[l];
        s->paleobatimetria[i] = static_cast<float>(i % 7) * 25.0f;
        buscatiempo(*s, i);
        calcula_densidad(*s, i);
    }
    return s;
}

// Porosity 1.2 lies outside the fast search's domain: all 100 beds are
// scanned, 10000 candidates each.
inline std::unique_ptr<Store> columna_de_barrido()
{
    return columna_de_cien(0, 1.2f);
}

// Every kind of range at once, as a user would ask for them.
inline RangosColumna todos_los_rangos()
{
    RangosColumna r;
    r.porosidad = 0.1;
    r.coef_porosidad = 0.1;
    r.paleobatimetria = 20;
    r.edad = 1;
    r.nivel_mar = 10;
    return r;
}

} // namespace tev
