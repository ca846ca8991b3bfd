// Decompaction of a full 100-bed column: the fast search against the literal
// scan of 10000 candidates per bed.

#include "compute/nivel_mar.h"
#include "compute/tevarro.h"
#include "model/densidad.h"
#include "model/store.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<tev::Store> columna_de_cien()
{
    auto s = std::make_unique<tev::Store>();
    tev::valores_de_arranque(*s);
    tev::limpia_bancos(*s);
    const char* lits[] = {tev::kPelitas, tev::kAreniscas, tev::kArcosas, tev::kEvaporitas,
                          tev::kCalizas};
    const float poros[] = {0.63f, 0.49f, 0.56f, 0.70f, 0.56f};
    const float coefs[] = {0.51f, 0.27f, 0.39f, 0.71f, 0.39f};
    s->n_bancos = 100;
    float techo = 0;
    for (int i = 100; i >= 1; --i) { // bed 100 at the top
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
        tev::buscatiempo(*s, i);
        tev::calcula_densidad(*s, i);
    }
    return s;
}

void BM_Tevarro(benchmark::State& state)
{
    auto s = columna_de_cien();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tev::tevarro(*s));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Tevarro)->Unit(benchmark::kMicrosecond);

void BM_TevarroBarrido(benchmark::State& state)
{
    auto s = columna_de_cien();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tev::tevarro_barrido(*s));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TevarroBarrido)->Unit(benchmark::kMicrosecond);

} // namespace
