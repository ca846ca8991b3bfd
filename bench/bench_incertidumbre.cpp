// The uncertainty Monte Carlo: every draw computes the whole burial history.
// Goals: 1,000 draws of the 12-bed example column in at most 50 ms, and
// 10,000 draws of a 100-bed column (5,050 bed moves each) in at most 1 s on
// a 2-core machine. The argument is the number of threads.

#include "columnas_de_prueba.h"
#include "compute/incertidumbre.h"
#include "compute/nivel_mar.h"
#include "model/store.h"
#include "project_file/columna.h"
#include "project_file/formatos.h"

#include <benchmark/benchmark.h>

namespace {

void tiradas(benchmark::State& state, const tev::Store& s, int n)
{
    const int hilos = static_cast<int>(state.range(0));
    for (auto _ : state) {
        tev::ResultadoIncertidumbre r = tev::calcula_incertidumbre(
            s, tev::CurvaNivelMar{}, tev::todos_los_rangos(), n, 1, hilos);
        if (!r.ok()) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    state.counters["tiradas"] =
        benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MilTiradasDoceBancos(benchmark::State& state)
{
    const tev::LecturaColumna l = tev::lee_archivo(TEVARRO_SOURCE_DIR "/examples/neuquen.tev");
    if (!l.ok) {
        state.SkipWithError(l.error.c_str());
        return;
    }
    auto s = std::make_unique<tev::Store>();
    tev::valores_de_arranque(*s);
    tev::carga_lectura(*s, l);
    tiradas(state, *s, 1000);
}
BENCHMARK(BM_MilTiradasDoceBancos)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_DiezMilTiradasCienBancos(benchmark::State& state)
{
    const auto s = tev::columna_de_cien();
    tiradas(state, *s, 10000);
}
BENCHMARK(BM_DiezMilTiradasCienBancos)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

} // namespace
