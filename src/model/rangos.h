#pragma once
// A bed's own uncertainty ranges: for its water depth (m), its top age (Ma),
// its surface porosity (fraction) and its porosity coefficient (1/km). Each
// end is optional; an end not given is the value itself, and a range with
// neither end is no range (the column-wide one applies). Only a CSV file
// keeps them.

namespace tev {

struct Rango {
    bool hay_min = false;
    bool hay_max = false;
    float min = 0;
    float max = 0;

    [[nodiscard]] bool hay() const { return hay_min || hay_max; }
    // The ends around valor, an end not given being valor itself.
    [[nodiscard]] float desde(float valor) const { return hay_min ? min : valor; }
    [[nodiscard]] float hasta(float valor) const { return hay_max ? max : valor; }
    bool operator==(const Rango& o) const
    {
        return hay_min == o.hay_min && hay_max == o.hay_max && (!hay_min || min == o.min) &&
               (!hay_max || max == o.max);
    }
    bool operator!=(const Rango& o) const { return !(*this == o); }
};

struct RangosBanco {
    Rango paleobatimetria;
    Rango edad_techo;
    Rango porosidad;
    Rango coef_porosidad;

    [[nodiscard]] bool alguno() const
    {
        return paleobatimetria.hay() || edad_techo.hay() || porosidad.hay() || coef_porosidad.hay();
    }
    bool operator==(const RangosBanco& o) const
    {
        return paleobatimetria == o.paleobatimetria && edad_techo == o.edad_techo &&
               porosidad == o.porosidad && coef_porosidad == o.coef_porosidad;
    }
    bool operator!=(const RangosBanco& o) const { return !(*this == o); }
};

// The eight ends as the CSV column names them, "paleobatimetria_min" first,
// in the order of RangosBanco, min before max.
inline constexpr int kNumExtremos = 8;
struct ExtremoDeRango {
    const char* clave;       // the CSV column, e.g. "edad_techo_max"
    const char* clave_valor; // the field it ranges over, e.g. "edad_techo"
    Rango RangosBanco::*rango;
    bool es_max;
};
inline constexpr ExtremoDeRango kExtremos[kNumExtremos] = {
    {"paleobatimetria_min", "paleobatimetria", &RangosBanco::paleobatimetria, false},
    {"paleobatimetria_max", "paleobatimetria", &RangosBanco::paleobatimetria, true},
    {"edad_techo_min", "edad_techo", &RangosBanco::edad_techo, false},
    {"edad_techo_max", "edad_techo", &RangosBanco::edad_techo, true},
    {"porosidad_min", "porosidad", &RangosBanco::porosidad, false},
    {"porosidad_max", "porosidad", &RangosBanco::porosidad, true},
    {"coef_porosidad_min", "coef_porosidad", &RangosBanco::coef_porosidad, false},
    {"coef_porosidad_max", "coef_porosidad", &RangosBanco::coef_porosidad, true},
};

// What is wrong with a range around the value it ranges over.
enum class FalloRango { ninguno, min_sobre_max, min_sobre_valor, max_bajo_valor };
inline FalloRango fallo_de_rango(const Rango& r, float valor)
{
    if (r.hay_min && r.hay_max && r.min > r.max) return FalloRango::min_sobre_max;
    if (r.hay_min && r.min > valor) return FalloRango::min_sobre_valor;
    if (r.hay_max && r.max < valor) return FalloRango::max_bajo_valor;
    return FalloRango::ninguno;
}

} // namespace tev
