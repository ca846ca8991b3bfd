#pragma once
// What the program knows of each lithology: the texts the bed dialog writes
// for its surface porosity and porosity-depth coefficient, its grain density,
// and how far the column drawing indents its beds. And the arithmetic of a
// "PORCENTUAL" bed, a mix by weight of four of them.

#include <array>
#include <string_view>

namespace tev {

struct Litologia {
    const char* nombre;      // exact, case-sensitive
    const char* porosidad;   // the text the dialog writes, a fraction
    const char* coeficiente; // the text the dialog writes, 1/km
    float densidad_grano;    // kg/m3
    int sangria;             // indentation of the bed's left edge in the drawing, twips
};

// The five named lithologies, in the order of the dialog's list.
extern const std::array<Litologia, 5> tabla_litologias;

// The row named exactly so, or none (also for "PORCENTUAL").
const Litologia* busca_litologia(std::string_view nombre);

// Indentation of a "PORCENTUAL" bed in the drawing, twips.
inline constexpr int kSangriaPorcentual = 150;

// A "PORCENTUAL" bed from its four percentages (sandstone, pelite, limestone,
// evaporite), with the weights of the pure lithologies, in double precision
// and without scaling to 100.
struct MezclaPorcentual {
    double suma;           // ((A + P) + C) + E
    double porosidad;      // (0.49 A + 0.63 P + 0.56 C + 0.7 E) / 100
    double coeficiente;    // (0.27 A + 0.51 P + 0.39 C + 0.71 E) / 100, 1/km
    double densidad_grano; // (2650 A + 2720 P + 2680 C + 2710 E) / 100, kg/m3
    [[nodiscard]] bool suma_cien() const { return suma == 100; } // exactly: no tolerance
};
MezclaPorcentual mezcla_porcentual(double arenisca, double pelita, double caliza, double evaporita);

// Surface bulk density of a bed as the dialog computes it: (1 - phi) g +
// phi 1000 in double precision, stored as a single.
float densidad_de_superficie(float porosidad, double densidad_grano);

} // namespace tev
