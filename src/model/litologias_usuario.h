#pragma once
// The user's own rocks, beside the program's five: a name, a grain density,
// a surface porosity and a porosity-depth coefficient. A bed names one by its
// lithology text, compared letter for letter as the five are; no column file
// holds their values, so a column read where the rock is not known has a bed
// of an unknown lithology (model/bancos_sin_roca.h says so).

#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct LitologiaUsuario {
    std::string nombre;       // UTF-8, without blanks at either end
    float densidad_grano = 0; // kg/m3, above 0
    float porosidad = 0;      // surface porosity, a fraction in [0, 1)
    float coef_porosidad = 0; // porosity-depth coefficient, 1/km, above 0

    bool operator==(const LitologiaUsuario& o) const
    {
        return nombre == o.nombre && densidad_grano == o.densidad_grano &&
               porosidad == o.porosidad && coef_porosidad == o.coef_porosidad;
    }
};

// The rock named exactly so among rocas, or none.
const LitologiaUsuario* busca_litologia_usuario(const std::vector<LitologiaUsuario>& rocas,
                                                std::string_view nombre);

// Why nombre cannot be the name of a user's rock beside otras (Spanish,
// without a final period, e.g. "«areniscas» es una de las litologías del
// programa (Areniscas)"); empty when it can. A name may not be empty, hold a
// control character, or equal one of the program's six (the five and
// "PORCENTUAL") or one of otras when case and accents are ignored.
std::string motivo_de_nombre(const std::string& nombre, const std::vector<LitologiaUsuario>& otras);

// Why a value cannot be a rock's (Spanish, without a final period); empty
// when it can. The ranges are those of a rock in bancos_sin_roca.
std::string motivo_de_densidad_grano(float v);
std::string motivo_de_porosidad(float v);
std::string motivo_de_coef_porosidad(float v);

} // namespace tev
