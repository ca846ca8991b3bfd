// Burial history of a full 100-bed column: 100 steps, 5050 bed moves, each a
// Newton solve to far better than 1e-6 m. The goal is at most 1 ms.

#include "compute/historia.h"
#include "model/store.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The five lithologies in turn, 20..199 m thick, 1.5 Ma per bed; bed 100 at
// the top, the column 11 km deep.
std::unique_ptr<tev::Store> columna_de_cien()
{
    auto s = std::make_unique<tev::Store>();
    tev::valores_de_arranque(*s);
    const char* lits[] = {tev::kPelitas, tev::kAreniscas, tev::kArcosas, tev::kEvaporitas,
                          tev::kCalizas};
    const float poros[] = {0.63f, 0.49f, 0.56f, 0.70f, 0.56f};
    const float coefs[] = {0.51f, 0.27f, 0.39f, 0.71f, 0.39f};
    s->n_bancos = 100;
    float techo = 0;
    for (int i = 100; i >= 1; --i) {
        const int l = i % 5;
        const float espesor = 20.0f + static_cast<float>((i * 37) % 180);
        s->techo[i] = techo;
        s->base[i] = techo + espesor;
        techo = s->base[i];
        s->edad_techo[i] = static_cast<float>(100 - i) * 1.5f;
        s->edad_base[i] = static_cast<float>(101 - i) * 1.5f;
        s->litologia[i] = lits[l];
        s->porosidad[i] = poros[l];
        s->coef_porosidad[i] = coefs[l];
        s->paleobatimetria[i] = static_cast<float>(i % 7) * 25.0f;
    }
    return s;
}

void BM_HistoriaCienBancos(benchmark::State& state)
{
    auto s = columna_de_cien();
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
