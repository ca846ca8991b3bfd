// Decompaction of a full 100-bed column: the fast search against the literal
// scan of 10000 candidates per bed, and a column that the fast search leaves
// wholly to the scan. Built twice: bare (bench_tevarro) and inside a process
// that created a QApplication (bench_tevarro_qt), whose start-up leaves the
// upper halves of the AVX registers dirty on some processors.

#include "columnas_de_prueba.h"
#include "compute/tevarro.h"

#include <benchmark/benchmark.h>

namespace {

void BM_Tevarro(benchmark::State& state)
{
    auto s = tev::columna_de_cien();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tev::tevarro(*s));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Tevarro)->Unit(benchmark::kMicrosecond);

void BM_TevarroBarrido(benchmark::State& state)
{
    auto s = tev::columna_de_cien();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tev::tevarro_barrido(*s));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TevarroBarrido)->Unit(benchmark::kMicrosecond);

// Every bed falls back to the scan.
void BM_TevarroColumnaDeBarrido(benchmark::State& state)
{
    auto s = tev::columna_de_barrido();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tev::tevarro(*s));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TevarroColumnaDeBarrido)->Unit(benchmark::kMicrosecond);

#if defined(__x86_64__)
// The upper halves dirtied before every run, as Qt's string hash leaves them
// on a processor with VAES: the computation clears them on entry.
void BM_TevarroTrasEnsuciarAvx(benchmark::State& state)
{
    if (!__builtin_cpu_supports("avx")) {
        state.SkipWithError("no AVX");
        return;
    }
    auto s = tev::columna_de_cien();
    for (auto _ : state) {
        asm volatile("vcmpeqps %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
        benchmark::DoNotOptimize(tev::tevarro(*s));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TevarroTrasEnsuciarAvx)->Unit(benchmark::kMicrosecond);
#endif

} // namespace
