#pragma once
// Decompaction and backstripping of the column.

#include <string>

namespace tev {

struct Store;

// sin_candidato: no thickness of the grid brings the residual below its
// starting value (a bed far thicker or deeper than the search reaches).
// no_finito: a density, load correction or tectonic subsidence that is NaN or
// infinite.
enum class FalloCalculo { ninguno, division_por_cero, desbordamiento, sin_candidato, no_finito };

// Of a no_finito result: which value of the bed is not finite.
enum class CampoCalculo { ninguno, densidad, correccion_carga, tevarro_tectonica };

struct [[nodiscard]] ResultadoCalculo {
    FalloCalculo fallo = FalloCalculo::ninguno;
    int banco = 0; // the bed where the computation stopped
    CampoCalculo campo = CampoCalculo::ninguno;
    bool nan = false; // of a no_finito value: NaN rather than infinite
    [[nodiscard]] bool ok() const { return fallo == FalloCalculo::ninguno; }
    // Spanish, names the bed: "División por cero en el banco 4 ..."
    [[nodiscard]] std::string mensaje() const;
};

// Decompacted thickness of one bed on a 1 m grid (1..10000 m). The outputs
// are written exactly as the scan writes them: each time a candidate beats
// the best residual so far, so on failure they hold the last best candidate.
// c is the porosity-depth coefficient in 1/m.
struct Descompactacion {
    float techo_descomp;
    float base_descomp;
};
// descompacta_barrido() scans every candidate; descompacta() takes the fast
// search (compute/busqueda_rapida.h) where it decides, with the same outputs.
FalloCalculo descompacta_barrido(float z1, float z2, float phi, float c, Descompactacion& salida);
FalloCalculo descompacta(float z1, float z2, float phi, float c, Descompactacion& salida);

// Phase 1 (decompaction) and phase 2 (load correction and tectonic
// subsidence) for beds n_bancos..1. Every coefficient ends as it was read, to
// the last bit. On a failure of phase 1 the beds above the failing one keep
// their new decompaction and no load is computed; a value of phase 2 that is
// not finite is reported for the highest bed that has one, once every load is
// computed. The caller plots the curves afterwards.
ResultadoCalculo tevarro(Store& s);

// The same with the literal scan of every candidate; the reference for tests
// and benchmarks.
ResultadoCalculo tevarro_barrido(Store& s);

// Clears the upper halves of the AVX registers (vzeroupper) on a processor
// that has them. Code that leaves them dirty (Qt 6.4's string hash on a
// processor with VAES, run by any QHash of a long key) makes every SSE
// instruction after it, and so each exp of the search, many times slower on
// some processors. The computation clears them itself on entry.
void limpia_estado_avx();

// Phase 2 alone for bed i.
void calcula_cargas(Store& s, int i);

} // namespace tev
