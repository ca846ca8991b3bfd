#include "model/litologias.h"

#include "model/densidad.h"

namespace tev {

const std::array<Litologia, 5> tabla_litologias = {{
    {"Pelitas", "0.63", "0.51", 2720, 300},
    {"Areniscas", "0.49", "0.27", 2650, 0},
    {"Arcosas", "0.56", "0.39", 2680, 150},
    {"Evaporitas", "0.70", "0.71", 2710, 500},
    {"Calizas", "0.56", "0.39", 2680, -200},
}};

const Litologia* busca_litologia(std::string_view nombre)
{
    for (const Litologia& l : tabla_litologias)
        if (nombre == l.nombre) return &l;
    return nullptr;
}

MezclaPorcentual mezcla_porcentual(double arenisca, double pelita, double caliza, double evaporita)
{
    MezclaPorcentual m{};
    m.suma = ((arenisca + pelita) + caliza) + evaporita;
    m.porosidad = (0.49 * arenisca + 0.63 * pelita + 0.56 * caliza + 0.7 * evaporita) / 100;
    m.coeficiente = (0.27 * arenisca + 0.51 * pelita + 0.39 * caliza + 0.71 * evaporita) / 100;
    m.densidad_grano = (2650 * arenisca + 2720 * pelita + 2680 * caliza + 2710 * evaporita) / 100;
    return m;
}

float densidad_de_superficie(float porosidad, double densidad_grano)
{
    const double phi = porosidad;
    return static_cast<float>((1 - phi) * densidad_grano + phi * kDensidadAgua);
}

} // namespace tev
