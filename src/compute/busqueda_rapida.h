#pragma once
// The fast search of a bed's decompacted thickness: the scan's own candidate
// found from a guess at the root, a few Newton steps and a window around
// them, in a few microseconds instead of 10000 candidates. It decides only
// when no candidate outside what it evaluated can beat its choice, so it
// gives the literal scan's outputs to the last bit; a bed it does not decide
// (porosity outside [0, 1], a coefficient that is not positive) is left to the
// scan.

#include "compute/ecuacion.h"
#include "compute/tevarro.h"

namespace tev {

struct Store;

// What a bed's fast search starts from, worked out before the bed's turn: it
// depends on the bed alone, so the beds of a column have theirs worked out
// together, and the exponentials of one bed overlap those of the next.
//
// The first candidate is a guess at the whole metre nearest the root. The
// guess solves the equation with 1 - e^-y replaced by y - y^2/2, adds the
// y^3/6 term in one step, then takes a Newton step on the series to y^6:
// within a millimetre or so of the root while cT' is below 1.
//
// A column keeps one for each of its beds; only the last four members are
// set on construction, every other is written before it is read.
struct Comienzo {
    static constexpr int kMaximo = 8;
    Ecuacion ec;
    double margen;     // of a bed the fast search applies to
    double d[kMaximo]; // the differences of the candidates evaluated,
    double e[kMaximo]; // their exponentials,
    int t[kMaximo];    // and the candidates themselves,
    int n = 0;         // candidates evaluated, in this order
    int ganador = 0;   // the decided candidate, or 0 when the window search decides
    FalloCalculo fallo = FalloCalculo::ninguno; // of the equation's preparation
    bool apta = false;                          // the fast search applies
};

// The start of one bed; c in 1/m.
void comienza(float z1, float z2, float phi, float c, Comienzo& co);
// The starts of beds n_bancos..1 of the column, into comienzos[i], worked out
// in stages that each run for all the beds before the next: the exponentials
// then wait on nothing, and the arithmetic between them on no call.
void comienza_columna(const Store& s, Comienzo comienzos[]);

// The fast search of a bed whose start has no failure: true when it decided
// the bed, with the outputs the scan would give; false, outputs untouched,
// when the bed is left to the scan.
bool decide_sin_barrido(const Comienzo& co, float phi, Descompactacion& salida);

// The same from the bed's inputs; c in 1/m. False also when the equation
// cannot be prepared (the scan then reports the failure).
bool descompacta_sin_barrido(float z1, float z2, float phi, float c, Descompactacion& salida);

} // namespace tev
