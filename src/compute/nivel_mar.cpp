#include "compute/nivel_mar.h"

#include "model/store.h"

#include <algorithm>
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

namespace tev {

double nivel_de_curva(const CurvaNivelMar& curva, float edad_leida)
{
    switch (curva.tipo) {
    case CurvaNivelMar::Tipo::tabla:
        return nivel_mar_de_edad(edad_leida);
    case CurvaNivelMar::Tipo::ninguna:
        return 0;
    case CurvaNivelMar::Tipo::usuario:
        break;
    }
    const std::vector<double>& e = curva.edades;
    const std::vector<double>& n = curva.niveles;
    const double edad = edad_leida;
    if (e.empty() || e.size() != n.size() || std::isnan(edad)) return 0;
    if (edad <= e.front()) return n.front();
    if (edad >= e.back()) return n.back();
    // e[k - 1] <= edad < e[k]
    const auto k = static_cast<std::size_t>(std::upper_bound(e.begin(), e.end(), edad) - e.begin());
    return n[k - 1] + (n[k] - n[k - 1]) * (edad - e[k - 1]) / (e[k] - e[k - 1]);
}

void pon_nivel_mar(Store& s, const CurvaNivelMar& curva)
{
    const int n = std::clamp<int>(s.n_bancos, 0, kMaxBancos);
    for (int i = 1; i <= n; ++i)
        s.nivel_mar[i] = static_cast<float>(nivel_de_curva(curva, s.edad_techo[i]));
}

std::string nombre_de_curva(const CurvaNivelMar& curva)
{
    switch (curva.tipo) {
    case CurvaNivelMar::Tipo::tabla:
        return {};
    case CurvaNivelMar::Tipo::ninguna:
        return "ninguno";
    case CurvaNivelMar::Tipo::usuario:
        break;
    }
    return curva.archivo;
}

} // namespace tev
