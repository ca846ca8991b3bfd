#pragma once
// The uniform-stretching model of a basin (McKenzie 1978) and its fit to the
// tectonic subsidence of a burial history: the stretching factor beta and the
// age of rifting. Plain C++, double precision.
//
// Subsidence in metres, positive downwards (water-loaded, as the history's
// tectonic subsidence); ages in Ma; times after rifting in Ma.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct Historia;

// The physical constants of the model. The pre-rift crust is set apart
// (ModeloEstiramiento::corteza).
struct ConstantesEstiramiento {
    const char* nombre = "";
    double litosfera = 0;        // a, m
    double expansion = 0;        // alpha, volumetric thermal expansion, 1/K
    double temperatura_base = 0; // Tm, temperature at the base of the lithosphere, °C
    double difusividad = 0;      // kappa, m2/s
    double densidad_manto = 0;   // rho_m, kg/m3
    double densidad_corteza = 0; // rho_c, kg/m3
    double densidad_agua = 0;    // rho_w, kg/m3
    double dias_por_anio = 0;    // the year that turns seconds into Ma, days
};

// The published sets, by the name the user picks; the first is the default.
inline constexpr std::array<ConstantesEstiramiento, 4> kJuegosDeConstantes = {{
    {"mckenzie1978", 125000, 3.28e-5, 1333, 8e-7, 3330, 2800, 1000, 365.25},
    {"pybacktrack", 125000, 3.28e-5, 1333, 1e-6, 3330, 2800, 1030, 365},
    {"subsidencechron", 125000, 3.28e-5, 1333, 8.04e-7, 3330, 2800, 1000, 365.25},
    {"paleostrip", 125000, 3.45e-5, 1330, 7.8e-7, 3300, 2800, 1030, 365},
}};

// The set of that name, or null.
const ConstantesEstiramiento* busca_constantes(std::string_view nombre);

// "total": the initial subsidence at the rift age and the thermal one after
// it; "termica": the thermal (post-rift) subsidence alone, zero at the rift age.
enum class ModoEstiramiento { total, termica };

inline constexpr double kCortezaPredeterminada = 35000; // tc, m
inline constexpr double kBetaMaxima = 20;               // beta lies in (1, 20]
// The full series is summed until a term's amplitude is below this, m.
inline constexpr double kAmplitudMinimaSerie = 1e-6;

struct ModeloEstiramiento {
    ConstantesEstiramiento constantes = kJuegosDeConstantes[0];
    double corteza = kCortezaPredeterminada; // pre-rift crustal thickness tc, m
    ModoEstiramiento modo = ModoEstiramiento::total;
    // 0: the full series; N > 0: only its first N terms (n = 1, 3, ..., 2N-1).
    int terminos = 0;
};

// tau = a^2 / (pi^2 kappa), the thermal time constant of the lithosphere, Ma.
double tau_termico(const ConstantesEstiramiento& c);

// S_i(beta): the syn-rift subsidence at the rift age, m (negative: uplift).
double subsidencia_inicial(const ModeloEstiramiento& m, double beta);

// S_t(beta, t): the thermal subsidence t Ma after rifting, m; 0 for t <= 0.
double subsidencia_termica(const ModeloEstiramiento& m, double beta, double t);

// The model at age edad for rifting at edad_rift: 0 before the rift, then
// S_i + S_t (total) or S_t (termica).
double modelo_estiramiento(const ModeloEstiramiento& m, double beta, double edad_rift, double edad);

// One observation: the tectonic subsidence at an age.
struct PuntoSubsidencia {
    double edad = 0;        // Ma
    double subsidencia = 0; // m
};

// The history's steps (age, tectonic subsidence), in its order.
std::vector<PuntoSubsidencia> puntos_de_historia(const Historia& h);

struct PeticionAjuste {
    ModeloEstiramiento modelo;
    std::optional<double> edad_rift; // fixed; free when empty
    std::optional<double> beta;      // fixed; free when empty
    // Only the points whose age lies in [desde, hasta] are fitted, Ma.
    std::optional<double> desde;
    std::optional<double> hasta;
};

// The points the request fits, in their order.
std::vector<PuntoSubsidencia> puntos_del_ajuste(const std::vector<PuntoSubsidencia>& puntos,
                                                const PeticionAjuste& peticion);

struct [[nodiscard]] AjusteEstiramiento {
    double beta = 0;
    double edad_rift = 0;
    double rms = 0; // root-mean-square misfit, m
    int puntos = 0;
    bool en_limite = false; // a fitted value lies on its bound
    bool evaluado = false;  // both given: nothing was fitted
    // The bounds the free rift age was searched in (the fixed age twice), Ma.
    double edad_rift_minima = 0;
    double edad_rift_maxima = 0;
    std::string error; // in Spanish, why there is no answer; empty when ok
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// Least squares over the points in the request's interval: beta in (1, 20]; the rift age, when
// free, in [A0, A0 + max(span, 2 tau)], A0 the oldest point's age and span the points' age span. A
// scan of a grid, then Brent's method in the brackets of the grid's best local minima; the same
// input gives the same answer. With beta and the rift age both given, the model is only evaluated.
// Fewer than two points, a beta outside (1, 20], a crust not in (0, a) or numbers that are not
// finite give an error naming why.
AjusteEstiramiento ajusta_estiramiento(const std::vector<PuntoSubsidencia>& puntos,
                                       const PeticionAjuste& peticion);

} // namespace tev
