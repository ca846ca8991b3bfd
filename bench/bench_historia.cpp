// Burial history of a full 100-bed column: 100 steps, 5050 bed moves, each a
// Newton solve to far better than 1e-6 m. The goal is at most 1 ms.

#include "columnas_de_prueba.h"
#include "compute/historia.h"
#include "model/store.h"

#include <benchmark/benchmark.h>

namespace {

void BM_HistoriaCienBancos(benchmark::State& state)
{
    // The five lithologies in turn, 20..199 m thick, 1.5 Ma per bed; bed 100
    // at the top, the column 11 km deep.
    auto s = tev::columna_de_cien();
    for (auto _ : state) {
        tev::ResultadoHistoria r = tev::calcula_historia(*s);
        if (!r.ok()) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    state.counters["movimientos"] =
        benchmark::Counter(5050.0 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HistoriaCienBancos)->Unit(benchmark::kMicrosecond);

} // namespace
