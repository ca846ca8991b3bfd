#pragma once
// The decompaction equation of one bed, as the literal scan and the fast
// search both evaluate it: every candidate goes through diferencia(), so both
// see the very same bits.

#include "compute/tevarro.h"
#include "model/store.h"

#include <cmath>

namespace tev {

inline constexpr int kCandidatos = 10000;       // candidates 1 m .. 10000 m
inline constexpr double kMejorInicial = 100000; // starting best residual

// The right-hand side of the equation, split into the part that does not
// depend on the candidate and the candidate's own term.
struct Ecuacion {
    float c;       // 1/m
    double q;      // phi / c
    double fija;   // (z2 - z1) - q (e^-c z1 - e^-c z2)
    double e_cero; // e^-(c * 0), formed like the candidate term
    double e1;     // e^-c z1
    double e2;     // e^-c z2

    // Signed difference T' - R for candidate z2'; NaN or infinite on overflow.
    // e receives the candidate's exponential.
    double diferencia(int z2p, double& e) const
    {
        const float producto = c * static_cast<float>(z2p); // single precision
        e = std::exp(-static_cast<double>(producto));
        const double r = fija + q * (e_cero - e);
        return static_cast<double>(z2p) - r;
    }
    [[nodiscard]] double diferencia(int z2p) const
    {
        double e = 0;
        return diferencia(z2p, e);
    }
};

inline bool finito(double v)
{
    return std::isfinite(v);
}

// |T' - R| as the residual is defined: the root of the square.
inline double residuo_de(double d)
{
    return std::sqrt(d * d);
}

// The inputs of bed i's equation: the coefficient in 1/m, as phase 1 holds it
// while the bed is searched.
struct Entrada {
    float z1, z2, phi, c;
};
inline Entrada entrada(const Store& s, int i)
{
    return {s.techo[i], s.base[i], s.porosidad[i], s.coef_porosidad[i] / 1000.0f};
}

// The candidate-independent part in two steps: the exponentials of the top
// and the base, then the rest, which fails as the first candidate would. A
// column's fast search runs each step for all its beds before the next.
inline void exponenciales_extremos(float z1, float z2, float c, Ecuacion& ec)
{
    const double cd = c;
    ec.c = c;
    ec.e1 = std::exp(-cd * static_cast<double>(z1));
    ec.e2 = std::exp(-cd * static_cast<double>(z2));
}

inline FalloCalculo completa(float z1, float z2, float phi, Ecuacion& ec)
{
    const float c = ec.c;
    if (c == 0.0f) return FalloCalculo::division_por_cero;
    const double cd = c;
    ec.q = static_cast<double>(phi) / cd;
    ec.fija = (static_cast<double>(z2) - static_cast<double>(z1)) - ec.q * (ec.e1 - ec.e2);
    // e^-0 is 1 exactly; only a coefficient that is not finite makes c * 0
    // something else (NaN).
    const float cero = c * 0.0f;
    ec.e_cero = cero == 0.0f ? 1.0 : std::exp(-static_cast<double>(cero));
    if (!finito(ec.e1) || !finito(ec.e2) || !finito(ec.q) || !finito(ec.fija) || !finito(ec.e_cero))
        return FalloCalculo::desbordamiento;
    return FalloCalculo::ninguno;
}

} // namespace tev
