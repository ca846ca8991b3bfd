#include "compute/nivel_mar.h"

#include "model/store.h"

#include <cmath>

namespace tev {

float nivel_mar_de_edad(float edad_leida)
{
    // Ages in Ma and sea level in m above the present one.
    static constexpr float tabla_edad[9] = {0, 20, 40, 60, 80, 100, 120, 140, 160};
    static constexpr float tabla_nivel[9] = {0, 25, 70, 100, 110, 15, 0, -20, -15};

    const double edad = edad_leida;
    double mejor = 1000000;
    int k_mejor = -1;
    for (int k = 0; k < 9; ++k) {
        const double diferencia = edad - static_cast<double>(tabla_edad[k]);
        const double d = std::sqrt(diferencia * diferencia);
        // Only a strictly nearer row replaces: a half-way age takes the younger row.
        if (d < mejor) {
            mejor = d;
            k_mejor = k;
        }
    }
    return k_mejor < 0 ? 0.0f : tabla_nivel[k_mejor];
}

void buscatiempo(Store& s, int i)
{
    s.nivel_mar.at(i) = nivel_mar_de_edad(s.edad_techo.at(i));
}

} // namespace tev
