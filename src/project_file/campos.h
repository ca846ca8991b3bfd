#pragma once
// The fourteen fields of a bed as the files keep them: the project file in
// this order, the CSV by their keys, in any order.

#include "project_file/archivo_proyecto.h"

#include <cstdint>
#include <string>

namespace tev {

enum class TipoCampo { texto, real, entero };

struct Campo {
    const char* clave;  // the store's name, as a CSV header names the column
    const char* nombre; // as the messages show it
    TipoCampo tipo;     // text, Single or Long
    // The member of its kind; the other two are null.
    std::string RegistroBanco::*texto;
    float RegistroBanco::*real;
    int32_t RegistroBanco::*entero;
};

inline constexpr int kNumCampos = 14;

// Project file order.
inline constexpr Campo kCampos[kNumCampos] = {
    {"nombre", "nombre", TipoCampo::texto, &RegistroBanco::nombre, nullptr, nullptr},
    {"techo", "techo", TipoCampo::real, nullptr, &RegistroBanco::techo, nullptr},
    {"base", "base", TipoCampo::real, nullptr, &RegistroBanco::base, nullptr},
    {"edad_techo", "edad del techo", TipoCampo::real, nullptr, &RegistroBanco::edad_techo, nullptr},
    {"edad_base", "edad de la base", TipoCampo::real, nullptr, &RegistroBanco::edad_base, nullptr},
    {"litologia", "litología", TipoCampo::texto, &RegistroBanco::litologia, nullptr, nullptr},
    {"color", "color", TipoCampo::entero, nullptr, nullptr, &RegistroBanco::color},
    {"porosidad", "porosidad", TipoCampo::real, nullptr, &RegistroBanco::porosidad, nullptr},
    {"coef_porosidad", "coeficiente de porosidad", TipoCampo::real, nullptr,
     &RegistroBanco::coef_porosidad, nullptr},
    {"paleobatimetria", "paleobatimetría", TipoCampo::real, nullptr,
     &RegistroBanco::paleobatimetria, nullptr},
    {"pct_arenisca", "porcentaje de arenisca", TipoCampo::real, nullptr,
     &RegistroBanco::pct_arenisca, nullptr},
    {"pct_pelita", "porcentaje de pelita", TipoCampo::real, nullptr, &RegistroBanco::pct_pelita,
     nullptr},
    {"pct_caliza", "porcentaje de caliza", TipoCampo::real, nullptr, &RegistroBanco::pct_caliza,
     nullptr},
    {"pct_evaporita", "porcentaje de evaporita", TipoCampo::real, nullptr,
     &RegistroBanco::pct_evaporita, nullptr},
};

} // namespace tev
