#pragma once
// Burial history of the whole column: for each bed j from n_bancos down to 1,
// the column as it stood at the top age of bed j (beds j..1, the top of bed j
// at the sea floor), every bed moved up by the exponential porosity-depth law
// with its solid thickness kept, and the total and water-loaded tectonic
// subsidence of that column. Double precision throughout; the store's singles
// are taken as they stand. Nothing in the store changes.
//
// Depths in metres below the sea floor, positive downwards; ages in Ma;
// densities in kg/m3; rates in m/Ma.

#include <optional>
#include <string>
#include <vector>

namespace tev {

struct Store;
struct CurvaNivelMar;

// One bed of one step: its decompacted top and base below the sea floor.
struct HorizontesBanco {
    int banco = 0;
    double techo = 0;
    double base = 0;
};

// The column at the top age of bed banco_superior.
struct PasoHistoria {
    double edad = 0; // edad_techo(banco_superior), Ma
    int banco_superior = 0;
    double espesor_sedimentos = 0;    // S: thickness of beds banco_superior..1
    double densidad_media = 0;        // mean bulk density of those beds
    double paleobatimetria = 0;       // W of banco_superior
    double nivel_mar = 0;             // sea level at the step's age
    double subsidencia_total = 0;     // S + W - sea level
    double subsidencia_tectonica = 0; // Airy, water-loaded
    // Rise of the tectonic subsidence from this step to the next younger one,
    // per Ma of the time between them; none for the youngest step and when
    // both ages are the same instant to float precision (no more than float's
    // relative precision apart, or less than the smallest normal float).
    std::optional<double> tasa_tectonica;
    // Beds banco_superior down to 1, top first; each top lies on the base
    // of the bed above it.
    std::vector<HorizontesBanco> bancos;
};

// Steps for beds n_bancos down to 1: the present column first, the oldest
// step (bed 1 alone) last.
struct Historia {
    std::vector<PasoHistoria> pasos;
};

// The value of a bed that keeps the column from having a history.
enum class CampoHistoria {
    ninguno,
    techo,
    base,
    edad_techo,
    edad_base,
    porosidad,
    coef_porosidad,
    paleobatimetria,
    pct_arenisca,
    pct_pelita,
    pct_caliza,
    pct_evaporita,
    profundidades, // the moved column does not fit in a double
};

struct [[nodiscard]] ResultadoHistoria {
    Historia historia;
    int banco = 0; // of a failure: the bed named
    CampoHistoria campo = CampoHistoria::ninguno;
    // Of a failure, in Spanish, naming the bed and the field; empty when ok.
    std::string error;
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// The history of beds 1..n_bancos. A bed whose porosity-depth coefficient is
// not above 0, whose porosity is outside [0, 1), whose base lies above its
// top or one of whose numbers is not finite gives no history: the error names
// it (the highest such bed) and the field.
// An empty column has an empty history.
// The sea level of each step comes from the curve (compute/nivel_mar.h).
ResultadoHistoria calcula_historia(const Store& s, const CurvaNivelMar& curva);
// With the program's sea-level table.
ResultadoHistoria calcula_historia(const Store& s);

// Thickness T' (m) of a bed moved to top depth z1p (m), keeping the solid
// thickness it has between z1 and z2 under phi(z) = phi0 e^(-c z), c in 1/m:
//   T' - (phi0/c)(e^(-c z1p) - e^(-c (z1p+T'))) = (z2-z1) - (phi0/c)(e^(-c z1) - e^(-c z2))
// Needs c > 0, 0 <= phi0 < 1, z1 <= z2 and z1p >= 0. Converged to far better than 1e-6 m;
// NaN when the numbers overflow.
double espesor_movido(double z1, double z2, double phi0, double c, double z1p);

// The pieces of the history that the draws of compute/incertidumbre.h use
// too, so that both compute alike.

// Solid thickness (m) of a bed between depths z1 <= z2 (m) under
// phi(z) = phi0 e^(-c z), c in 1/m.
double solido_de_banco(double z1, double z2, double phi0, double c);

// The thickness t (m) whose solid part t - (phi_techo / c)(1 - e^(-c t)) is
// `solido` (m), for a top at porosity phi_techo in [0, 1), c > 0 in 1/m.
// f(t) = t - poros(t) - solido rises (f' = 1 - phi_techo e^(-c t) > 0) and
// is convex, so Newton started at or beyond the root comes down to it step
// by step and never passes it. The pores of any thickness t are at most
// phi_techo t, so the root lies at or below solido / (1 - phi_techo): there
// it starts, and it stops once a step is at most 1e-12 max(1, t) (the error
// is then of the order of the step squared). NaN on overflow.
double espesor_de_solido(double solido, double phi_techo, double c);

// Mean bulk density (kg/m3) of a column of thickness S (m) and mass masa
// (kg/m2); a column of no thickness weighs as its top bed (grain density
// grano, surface porosity phi0) at the surface.
double densidad_de_columna(double masa, double S, double grano, double phi0);

// Water-loaded (Airy) tectonic subsidence (m) of a column of thickness S (m)
// and mean density densidad (kg/m3) under water depth W (m), the sea level
// standing at nivel (m).
double subsidencia_tectonica_de(double S, double densidad, double W, double nivel);

} // namespace tev
