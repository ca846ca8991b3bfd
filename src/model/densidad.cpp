#include "model/densidad.h"

#include "model/litologias.h"
#include "model/store.h"

namespace tev {

bool tiene_densidad_grano(const Store& s, int i)
{
    return s.densidad_grano.at(i) > 0;
}

float densidad_de_grano(const Store& s, int i)
{
    if (tiene_densidad_grano(s, i)) return s.densidad_grano[i];
    const std::string& lit = s.litologia.at(i);
    float grano = 0; // an unset grain density counts as 0
    if (const Litologia* l = busca_litologia(lit)) grano = l->densidad_grano;
    if (lit == kPorcentual) {
        // The mix is summed in extended precision, not normalised to 100,
        // with the grain densities of the pure lithologies.
        const auto g = [](const char* nombre) {
            return static_cast<long double>(busca_litologia(nombre)->densidad_grano);
        };
        long double suma = static_cast<long double>(s.pct_pelita[i]) * g(kPelitas);
        suma += static_cast<long double>(s.pct_arenisca[i]) * g(kAreniscas);
        suma += static_cast<long double>(s.pct_caliza[i]) * g(kCalizas);
        suma += static_cast<long double>(s.pct_evaporita[i]) * g(kEvaporitas);
        grano = static_cast<float>(suma / 100);
    }
    if (const LitologiaUsuario* u = busca_litologia_usuario(s.litologias_usuario, lit))
        grano = u->densidad_grano;
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

} // namespace tev
