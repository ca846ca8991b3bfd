#pragma once
// The burial history of many drawn columns at once, as the uncertainty draws
// (compute/incertidumbre.h) need it: for each step only the age and the
// tectonic and total subsidence, from the same equations as calcula_historia
// (compute/historia.h) but with each bed move started from the move of the
// column as it stands. Plain C++, no Qt.
//
// Accuracy: the thicknesses lie within a few units in the last place of the
// equation's root scaled by its conditioning 1 / (1 - phi e^(-c t)), and
// within 1e-13 of the history's own (whose first Newton step, from
// solido / (1 - phi), can leave up to that start's rounding in its result);
// the subsidences within 1e-12 of the column's thickness. The column's mass
// is summed as the grains' excess over water, known per bed, plus the water
// of the whole thickness, so no move needs its pores.
//
// Depths and subsidence in metres, positive downwards; ages in Ma.

#include "compute/historia.h"
#include "model/store.h"

#include <array>
#include <vector>

namespace tev {

struct CurvaNivelMar;

// The x = c t (c in 1/m, t the thickness in m) of a bed moved so that its
// top lies at porosity a = phi0 e^(-c z) while it keeps its solid thickness
// s: the root of
//   F(x) = x - a (1 - e^(-x)) - sigma,  sigma = c s,
// by Halley's method from x_inicio, each step from one expm1. F rises and is
// convex, with F' = 1 - g, F'' = g, F''' = -g for g = a e^(-x) in [0, 1), so
// the error after a step d is close to K d^3 with
//   K = g^2 / (4 (1 - g)^2) + g / (6 (1 - g));
// it stops once K |d|^3 is below a quarter of the last place of x, with no
// step to confirm it. NaN when the start is not finite, a step leaves the
// bracket [sigma, sigma / (1 - a)] the root lies in, or eight steps do not
// converge: the caller then asks espesor_de_solido.
double raiz_de_halley(double sigma, double a, double x_inicio);

// Works out once what every draw shares: the column as it stands (whose
// history `base` is ok) and each of its moves; then computes drawn columns,
// one at a time, each into its own arrays (no allocation per draw). It keeps
// a reference to s, which must outlive it.
class HistoriaDeTiradas {
  public:
    HistoriaDeTiradas(const Store& s, const Historia& base);

    // The history of t (the column s with porosity, coefficient, water depth,
    // top and base ages drawn; everything else as s holds it): per step k, in
    // the order of the history, tectonica[k], total[k] and edad[k]. False, with
    // nothing promised in the arrays, when a drawn value leaves its domain or
    // a number overflows: calcula_historia then says what.
    bool calcula(const Store& t, const CurvaNivelMar& curva, double* tectonica, double* total,
                 double* edad);

  private:
    // A bed as a column takes it, whatever its depth.
    struct Banco {
        double c = 0;      // 1/m
        double phi0 = 0;   // surface porosity
        double solido = 0; // m
        double sigma = 0;  // c solido
    };
    // A move of the column as it stands: its root and how it shifts, to first
    // order, with the top porosity a and with sigma.
    struct Movimiento {
        double x = 0;
        double a = 0;
        double por_a = 0;     // dx/da = (1 - e^(-x)) / (1 - a e^(-x))
        double por_sigma = 0; // dx/dsigma = 1 / (1 - a e^(-x))
    };

    // The moves of four beds at one depth, in four steps of the history, at
    // once: the four chains of exponentials and divisions overlap in the
    // processor.
    static constexpr int kCarriles = 4;
    // Bed i in the step of top bed i + m, from the depth that step has
    // reached; mueve_juntos takes beds i..i + 3.
    void mueve(int i, int m);
    void mueve_juntos(int i, int m);
    [[nodiscard]] double porosidad_en_el_techo(int i, int m) const;
    // Where the root of that move starts: the column's own move, shifted to
    // first order by the drawn sigma and top porosity a.
    [[nodiscard]] double inicio(int i, int m, double a) const;

    int n_ = 0;
    const Store& s_;
    std::array<double, kSlots> grano_{}; // grain density of each bed, kg/m3
    std::array<Banco, kSlots> base_{};   // the beds as they stand
    std::vector<double> espesor_base_;   // S of each step of the history
    std::vector<double> densidad_base_;  // its mean density
    // Move of bed i in the step of top bed j = i + m, at desde_[m] + i - 1.
    std::vector<Movimiento> movimientos_;
    std::vector<std::size_t> desde_;
    // Per draw.
    std::array<Banco, kSlots> banco_{};
    std::array<double, kSlots> z_{};           // depth reached in each step's column
    std::array<double, kSlots> masa_solida_{}; // sum of (grano - agua) solido, beds 1..j
};

} // namespace tev
