#pragma once
// Decompaction and backstripping of the column.

#include <string>

namespace tev {

struct Store;

enum class FalloCalculo { ninguno, division_por_cero, desbordamiento };

struct ResultadoCalculo {
    FalloCalculo fallo = FalloCalculo::ninguno;
    int banco = 0;  // the bed where the computation stopped
    bool ok() const { return fallo == FalloCalculo::ninguno; }
    // Spanish, names the bed: "División por cero en el banco 4 ..."
    std::string mensaje() const;
};

// Decompacted thickness of one bed on a 1 m grid (1..10000 m). The outputs
// are written exactly as the scan writes them: each time a candidate beats
// the best residual so far, so on failure they hold the last best candidate.
// c is the porosity-depth coefficient in 1/m.
struct Descompactacion {
    float techo_descomp;
    float base_descomp;
};
FalloCalculo descompacta_barrido(float z1, float z2, float phi, float c, Descompactacion& salida);
FalloCalculo descompacta(float z1, float z2, float phi, float c, Descompactacion& salida);

// Phase 1 (decompaction) and phase 2 (load correction and tectonic
// subsidence) for beds n_bancos..1. On failure the beds above the failing one
// keep their new decompaction, the failing bed keeps its coefficient as read,
// and no load is computed. The caller plots the curves afterwards.
ResultadoCalculo tevarro(Store& s);

// The same with the literal scan of every candidate; the reference for tests
// and benchmarks.
ResultadoCalculo tevarro_barrido(Store& s);

// Phase 2 alone for bed i.
void calcula_cargas(Store& s, int i);

}  // namespace tev
