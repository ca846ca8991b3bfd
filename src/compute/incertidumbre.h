#pragma once
// How sure the burial history is: a seeded Monte Carlo over the uncertain
// inputs of the column. Each draw takes every ranged value uniformly and
// independently between its ends and computes the whole burial history
// (compute/historia.h) of the column so drawn; the percentiles of each
// step's results over the draws say how far the history can be trusted.
// Plain C++, no Qt.
//
// Depths and subsidence in metres, positive downwards; ages in Ma; porosity
// as a fraction; coefficient in 1/km.
//
// The ranges of a draw:
// - A bed's own range (Store::rangos, model/rangos.h) where it has one; an
//   end not given is the bed's value. Otherwise the column-wide one of
//   RangosColumna around the bed's value.
// - A porosity stays in [0, 1) and a coefficient above 0: the ends of their
//   ranges are brought inside (the draws stay uniform between them). A top
//   age of 0 or more stays at 0 or more.
// - Ages keep the beds in order: the top ages are drawn from the top bed
//   down, and where the column has bed k no younger than bed k + 1 above
//   it, a top age drawn younger than the one drawn for bed k + 1 is raised
//   to it (so a bed is never drawn younger than the bed on top of it). A base
//   age equal to the top age of the bed below moves with that top age.
// - The sea level of each step is looked up on the curve at the step's drawn
//   age and shifted by a draw of its own, independent for every step.
//
// Reproducible: the draws come from a counter-based generator seeded with
// (semilla, draw number) through a fixed mixing function, and the uniform
// mapping is our own, so the same column, ranges, number of draws and seed
// give the same bytes on every machine and with any number of threads.
//
// How a draw's history is computed: compute/historia_tiradas.h. The same
// equations as calcula_historia, each bed move started from the same move of
// the column as it stands (never from another draw, so a draw's numbers
// depend on the column, the ranges, the seed and its number only): the
// thicknesses lie within 1e-13 of the history's own, the subsidences within
// 1e-12 of the column's thickness; a step whose beds keep their porosity and
// coefficient is the history's own to the bit, so with no ranges every draw
// is the history itself. A drawn value outside its domain or a number that
// overflows sends the draw to calcula_historia, which computes it or names
// what is wrong.

#include "compute/control_calculo.h"
#include "compute/estiramiento.h"
#include "compute/historia.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tev {

struct Store;
struct CurvaNivelMar;

// The ranges for beds without their own, each a half-width around the value.
struct RangosColumna {
    double porosidad = 0;       // a fraction of the bed's porosity (0.1: ±10 %)
    double coef_porosidad = 0;  // a fraction of the bed's coefficient
    double paleobatimetria = 0; // m
    double edad = 0;            // Ma, the top ages
    double nivel_mar = 0;       // m, the sea level at every step
};

// The percentiles over the draws reported for each step.
inline constexpr int kNumPercentiles = 5;
inline constexpr double kPercentiles[kNumPercentiles] = {2.5, 16, 50, 84, 97.5};

// One step of the history (the column at the top age of banco_superior):
// the percentiles, in the order of kPercentiles, of the draws' tectonic and
// total subsidence and of the drawn age.
struct BandaPaso {
    int banco_superior = 0;
    double tectonica[kNumPercentiles] = {};
    double total[kNumPercentiles] = {};
    double edad[kNumPercentiles] = {};
};

struct [[nodiscard]] ResultadoIncertidumbre {
    // The history of the column as it stands, with no draw.
    ResultadoHistoria historia;
    // One band per step of the history, in its order.
    std::vector<BandaPaso> bandas;
    // Each draw's value per step: valores[paso * tiradas + tirada], for
    // whoever needs more than the percentiles (say a refit per draw).
    int tiradas = 0;
    std::vector<double> tectonica;
    std::vector<double> total;
    std::vector<double> edad;
    // Spanish, empty when ok: the history's own error, or the first draw
    // (lowest number) that had none, with the reason.
    std::string error;
    // Stopped at the caller's request (error then says so).
    bool cancelado = false;
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// tiradas draws (at least 1) of the column with seed semilla, over hilos
// threads (at least 1; the result does not depend on it). control, when
// given, counts the draws done and is heeded between draws.
ResultadoIncertidumbre calcula_incertidumbre(const Store& s, const CurvaNivelMar& curva,
                                             const RangosColumna& rangos, int tiradas,
                                             uint64_t semilla, int hilos = 1,
                                             ControlCalculo* control = nullptr);

// The stretching fit (compute/estiramiento.h) refitted to every draw's
// points (age, tectonic subsidence) of each step: the percentiles 2.5, 50 and
// 97.5 of beta and of the rift age. Error (Spanish): the first draw whose
// refit failed, with the reason.
struct BandaEstiramiento {
    double beta[3] = {};
    double edad_rift[3] = {};
    std::string error;
    bool cancelado = false;
    [[nodiscard]] bool ok() const { return error.empty(); }
};
BandaEstiramiento reajusta_estiramiento(const ResultadoIncertidumbre& r,
                                        const PeticionAjuste& peticion, int hilos = 1,
                                        ControlCalculo* control = nullptr);

// The p-th percentile (0..100) of values sorted in increasing order, by
// linear interpolation between the closest two (the "type 7" definition:
// position (n - 1) p / 100 from 0). NaN for no values.
double percentil(const std::vector<double>& ordenados, double p);

// The generator of draw number tirada of seed semilla: SplitMix64 from a
// start mixed from both. Exposed for the tests.
class GeneradorTirada {
  public:
    GeneradorTirada(uint64_t semilla, uint64_t tirada);
    uint64_t siguiente();
    // Uniform in [0, 1), from the top 53 bits.
    double uniforme();

  private:
    uint64_t estado_;
};

} // namespace tev
