#include "model/densidad.h"

#include "model/store.h"

namespace tev {

float densidad_de_grano(const Store& s, int i)
{
    const std::string& lit = s.litologia.at(i);
    float grano = 0;  // an unset grain density counts as 0
    if (lit == kPelitas) grano = 2720;
    if (lit == kAreniscas) grano = 2650;
    if (lit == kArcosas) grano = 2680;
    if (lit == kEvaporitas) grano = 2710;
    if (lit == kCalizas) grano = 2680;
    if (lit == kPorcentual) {
        // The mix is summed in extended precision, not normalised to 100.
        long double suma = static_cast<long double>(s.pct_pelita[i]) * 2720;
        suma += static_cast<long double>(s.pct_arenisca[i]) * 2650;
        suma += static_cast<long double>(s.pct_caliza[i]) * 2680;
        suma += static_cast<long double>(s.pct_evaporita[i]) * 2710;
        grano = static_cast<float>(suma / 100);
    }
    return grano;
}

void calcula_densidad(Store& s, int i)
{
    const float grano = densidad_de_grano(s, i);
    const float phi = s.porosidad[i];
    const float w = phi * 1000.0f;
    const float sol = 1.0f - phi;
    const float granos = sol * grano;
    s.densidad[i] = granos + w;
}

}  // namespace tev
