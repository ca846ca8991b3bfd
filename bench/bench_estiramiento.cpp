// The fit of the uniform-stretching model to the tectonic subsidence of the
// 100 steps of a 100-bed column. Goals: the rift age free in at most 2 ms,
// fixed in at most 0.2 ms (the uncertainty work refits thousands of times).

#include "columnas_de_prueba.h"
#include "compute/estiramiento.h"
#include "compute/historia.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<tev::PuntoSubsidencia> puntos_de_cien()
{
    const auto s = tev::columna_de_cien();
    const tev::ResultadoHistoria h = tev::calcula_historia(*s);
    return tev::puntos_de_historia(h.historia);
}

void ajusta(benchmark::State& state, const tev::PeticionAjuste& pet)
{
    const auto puntos = puntos_de_cien();
    for (auto _ : state) {
        const tev::AjusteEstiramiento r = tev::ajusta_estiramiento(puntos, pet);
        if (!r.ok()) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r);
    }
}

void BM_AjusteEdadLibre(benchmark::State& state)
{
    tev::PeticionAjuste pet;
    pet.modelo.terminos = static_cast<int>(state.range(0));
    ajusta(state, pet);
}
// 0: the full series; 1: its first term.
BENCHMARK(BM_AjusteEdadLibre)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_AjusteEdadFija(benchmark::State& state)
{
    tev::PeticionAjuste pet;
    pet.modelo.terminos = static_cast<int>(state.range(0));
    // The oldest step's age, 148.5 Ma, and 10 Ma before it.
    pet.edad_rift = 158.5;
    ajusta(state, pet);
}
BENCHMARK(BM_AjusteEdadFija)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
