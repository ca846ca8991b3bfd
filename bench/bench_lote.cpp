// Whole processes, start-up included: tevarro-batch against the literal scan
// in plain C (barrido_literal.c) on the same files, and the first "Abrir" of
// the desktop window in a fresh process. Every iteration runs one process;
// the times are wall-clock.

#include "columnas_de_prueba.h"
#include "project_file/archivo_proyecto.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path carpeta()
{
    static const fs::path dir = [] {
        const fs::path d =
            fs::temp_directory_path() / ("tevarro_bench_lote_" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

void escribe(const fs::path& ruta, const tev::Store& s)
{
    const tev::EscrituraColumna w = tev::escribe_columna(s);
    std::ofstream(ruta, std::ios::binary) << w.bytes;
}

// Forty different 100-bed files.
const std::vector<std::string>& cuarenta_archivos()
{
    static const std::vector<std::string> archivos = [] {
        std::vector<std::string> r;
        for (int k = 0; k < 40; ++k) {
            const fs::path p = carpeta() / ("columna_" + std::to_string(k) + ".tev");
            escribe(p, *tev::columna_de_cien(k));
            r.push_back(p.string());
        }
        return r;
    }();
    return archivos;
}

const std::string& archivo_de_barrido()
{
    static const std::string ruta = [] {
        const fs::path p = carpeta() / "barrido.tev";
        escribe(p, *tev::columna_de_barrido());
        return p.string();
    }();
    return ruta;
}

// Runs the program with its standard output in `salida` (or /dev/null);
// returns its exit code.
int corre(const std::string& programa, const std::vector<std::string>& args,
          const char* salida = "/dev/null")
{
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        const int fd = ::open(salida, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 1);
        const int nulo = ::open("/dev/null", O_WRONLY);
        ::dup2(nulo, 2);
        std::vector<char*> argv{const_cast<char*>(programa.c_str())};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(programa.c_str(), argv.data());
        ::_exit(127);
    }
    int estado = 0;
    ::waitpid(hijo, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : 128;
}

void proceso(benchmark::State& state, const std::string& programa,
             const std::vector<std::string>& args)
{
    for (auto _ : state) {
        if (corre(programa, args) != 0) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}

std::vector<std::string> con(std::vector<std::string> opciones,
                             const std::vector<std::string>& archivos)
{
    opciones.insert(opciones.end(), archivos.begin(), archivos.end());
    return opciones;
}

void BM_LoteCuarentaArchivosCsv(benchmark::State& state)
{
    proceso(state, TEVARRO_BATCH_EXE, con({"--csv"}, cuarenta_archivos()));
}
BENCHMARK(BM_LoteCuarentaArchivosCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BarridoLiteralCuarentaArchivos(benchmark::State& state)
{
    proceso(state, TEVARRO_BARRIDO_LITERAL_EXE, cuarenta_archivos());
}
BENCHMARK(BM_BarridoLiteralCuarentaArchivos)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoteUnArchivoCsv(benchmark::State& state)
{
    proceso(state, TEVARRO_BATCH_EXE, {"--csv", cuarenta_archivos()[0]});
}
BENCHMARK(BM_LoteUnArchivoCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoteColumnaDeBarridoConCurvas(benchmark::State& state)
{
    const std::string imagen = (carpeta() / "curvas.png").string();
    proceso(state, TEVARRO_BATCH_EXE, {"--curvas", imagen, archivo_de_barrido()});
}
BENCHMARK(BM_LoteColumnaDeBarridoConCurvas)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BarridoLiteralColumnaDeBarrido(benchmark::State& state)
{
    proceso(state, TEVARRO_BARRIDO_LITERAL_EXE, {archivo_de_barrido()});
}
BENCHMARK(BM_BarridoLiteralColumnaDeBarrido)->Unit(benchmark::kMillisecond)->UseRealTime();

// The tool and the plain C scan one after the other in every iteration, so
// that both meet the machine in the same state: the time is the tool's, the
// counters the scan's and how their times compare (veces_mas_rapido, the
// scan's over the tool's, or lote_entre_barrido, the other way round).
void frente_al_barrido(benchmark::State& state, const std::vector<std::string>& lote,
                       const std::vector<std::string>& barrido, bool mas_rapido)
{
    using reloj = std::chrono::steady_clock;
    double t_lote = 0, t_barrido = 0;
    for (auto _ : state) {
        const auto t0 = reloj::now();
        const int c_barrido = corre(TEVARRO_BARRIDO_LITERAL_EXE, barrido);
        const auto t1 = reloj::now();
        const int c_lote = corre(TEVARRO_BATCH_EXE, lote);
        const auto t2 = reloj::now();
        if (c_barrido != 0 || c_lote != 0) {
            state.SkipWithError("a program failed");
            return;
        }
        const double l = std::chrono::duration<double>(t2 - t1).count();
        t_lote += l;
        t_barrido += std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(l);
    }
    if (t_barrido <= 0 || t_lote <= 0) return;
    state.counters["barrido_ms"] =
        benchmark::Counter(t_barrido * 1000, benchmark::Counter::kAvgIterations);
    if (mas_rapido)
        state.counters["veces_mas_rapido"] = t_barrido / t_lote;
    else
        state.counters["lote_entre_barrido"] = t_lote / t_barrido;
}

void BM_CuarentaArchivosCsvFrenteAlBarrido(benchmark::State& state)
{
    frente_al_barrido(state, con({"--csv"}, cuarenta_archivos()), cuarenta_archivos(), true);
}
BENCHMARK(BM_CuarentaArchivosCsvFrenteAlBarrido)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_ColumnaDeBarridoConCurvasFrenteAlBarrido(benchmark::State& state)
{
    const std::string imagen = (carpeta() / "curvas_frente.png").string();
    frente_al_barrido(state, {"--curvas", imagen, archivo_de_barrido()}, {archivo_de_barrido()},
                      false);
}
BENCHMARK(BM_ColumnaDeBarridoConCurvasFrenteAlBarrido)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The first "Abrir" of a 100-bed file after the window's start-up, each
// iteration in a new process; the counters give the start-up and a second
// "Abrir" of the same process.
void BM_PrimerAbrirTrasElArranque(benchmark::State& state)
{
    const std::string archivo = cuarenta_archivos()[0];
    const std::string salida = (carpeta() / "primer_abrir.txt").string();
    double arranque = 0, segundo = 0;
    for (auto _ : state) {
        if (corre(TEVARRO_PRIMER_ABRIR_EXE, {archivo}, salida.c_str()) != 0) {
            state.SkipWithError("primer_abrir failed");
            return;
        }
        double a = 0, p = 0, s = 0;
        std::FILE* f = std::fopen(salida.c_str(), "r");
        const int leidos =
            f ? std::fscanf(f, "arranque_ms=%lf primer_abrir_ms=%lf segundo_abrir_ms=%lf", &a, &p,
                            &s)
              : 0;
        if (f) std::fclose(f);
        if (leidos != 3) {
            state.SkipWithError("primer_abrir said nothing");
            return;
        }
        state.SetIterationTime(p / 1000.0);
        arranque += a;
        segundo += s;
    }
    state.counters["arranque_ms"] =
        benchmark::Counter(arranque, benchmark::Counter::kAvgIterations);
    state.counters["segundo_abrir_ms"] =
        benchmark::Counter(segundo, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PrimerAbrirTrasElArranque)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(carpeta(), ec);
    return 0;
}
