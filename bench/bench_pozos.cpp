// Several wells compared: fifty 100-bed wells added at once to "Comparar
// pozos". Goal: the figure drawn in at most 1 s, that is every file read,
// every burial history, every stretching fit with the default settings and
// the whole picture painted into an image of the window's size. Its parts
// are timed apart to tell where the time goes. The uncertainty bands of the
// same fifty wells (the uncertainty dialog's 1,000 draws each) follow in the
// background: timed, with no goal. The window itself is timed too, from its
// "Añadir…" to its figure painted.

#include "columnas_de_prueba.h"
#include "compare_window/ventana_pozos.h"
#include "compute/incertidumbre.h"
#include "drawing/dibujo_pozos.h"
#include "project_file/columna.h"
#include "project_file/formatos.h"
#include "project_file/pozos.h"
#include "window_helpers/preferencias.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kPozos = 50;
// The picture's size: the one the batch tool writes, as large as the window
// is on a common screen.
const QSize kTamano = tev::kTamanoPozos;

// Fifty project files of 100 beds, each of other thicknesses.
struct Archivos {
    QTemporaryDir dir;
    std::vector<std::string> rutas;
    std::string error;

    Archivos()
    {
        for (int k = 0; k < kPozos && error.empty(); ++k) {
            const auto s = tev::columna_de_cien(k);
            const std::string ruta =
                dir.filePath(QString("pozo_%1.tev").arg(k, 2, 10, QChar('0'))).toStdString();
            error = tev::salva_archivo(*s, ruta);
            rutas.push_back(ruta);
        }
    }
};

const Archivos& archivos()
{
    static const Archivos a;
    return a;
}

void pinta(const tev::FiguraPozos& f)
{
    QImage im(kTamano, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&im);
    tev::pinta_pozos(f, p, kTamano);
    p.end();
    benchmark::DoNotOptimize(im.constBits());
}

// The whole: files to picture.
void BM_CincuentaPozosFigura(benchmark::State& state)
{
    const Archivos& a = archivos();
    if (!a.error.empty()) {
        state.SkipWithError(a.error.c_str());
        return;
    }
    for (auto _ : state) {
        const std::vector<tev::Pozo> pozos = tev::lee_pozos(a.rutas, tev::PeticionAjuste{});
        const tev::FiguraPozos f = tev::figura_de_pozos(pozos, tev::ModeloEstiramiento{});
        if (f.pozos.size() != kPozos) state.SkipWithError("a well has no history");
        pinta(f);
    }
}
BENCHMARK(BM_CincuentaPozosFigura)->Unit(benchmark::kMillisecond)->UseRealTime();

// Its parts: the wells read, with their histories and fits ...
void BM_CincuentaPozosLectura(benchmark::State& state)
{
    const Archivos& a = archivos();
    for (auto _ : state) {
        const std::vector<tev::Pozo> pozos = tev::lee_pozos(a.rutas, tev::PeticionAjuste{});
        benchmark::DoNotOptimize(pozos.data());
    }
}
BENCHMARK(BM_CincuentaPozosLectura)->Unit(benchmark::kMillisecond)->UseRealTime();

// ... and the picture painted.
void BM_CincuentaPozosPintura(benchmark::State& state)
{
    const std::vector<tev::Pozo> pozos = tev::lee_pozos(archivos().rutas, tev::PeticionAjuste{});
    const tev::FiguraPozos f = tev::figura_de_pozos(pozos, tev::ModeloEstiramiento{});
    for (auto _ : state)
        pinta(f);
}
BENCHMARK(BM_CincuentaPozosPintura)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same in the window itself: the fifty files given to "Añadir…" of a
// window opened on an empty column, until its figure is painted (the list,
// the labels and the preferences written included; the uncertainty off, as
// the preferences of a first start have it).
void BM_CincuentaPozosEnLaVentana(benchmark::State& state)
{
    QStringList rutas;
    for (const std::string& r : archivos().rutas)
        rutas << QString::fromStdString(r);
    tev::Store vacia;
    tev::valores_de_arranque(vacia);
    for (auto _ : state) {
        auto w = std::make_unique<tev::VentanaPozos>();
        w->resize(1240, 680);
        w->sigue_la_columna(vacia, {});
        w->pide_archivos = [&rutas] { return rutas; };
        w->anadir_Click();
        if (w->figura().pozos.size() != kPozos) state.SkipWithError("a well is not drawn");
        const QImage im = w->lienzo->grab().toImage();
        benchmark::DoNotOptimize(im.constBits());
        // Closing the window, and forgetting its list, are not part of it.
        state.PauseTiming();
        w.reset();
        tev::preferencias().clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CincuentaPozosEnLaVentana)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bands of the fifty wells, 1,000 draws each on every core, and the
// picture painted with them.
void BM_CincuentaPozosBandas(benchmark::State& state)
{
    // The columns as read from the files, as the wells were.
    std::vector<std::unique_ptr<tev::Store>> columnas;
    for (const std::string& ruta : archivos().rutas) {
        const tev::LecturaColumna l = tev::lee_archivo(ruta);
        if (!l.ok) {
            state.SkipWithError(l.error.c_str());
            return;
        }
        columnas.push_back(std::make_unique<tev::Store>());
        tev::valores_de_arranque(*columnas.back());
        tev::carga_lectura(*columnas.back(), l);
    }
    const std::vector<tev::Pozo> pozos = tev::lee_pozos(archivos().rutas, tev::PeticionAjuste{});
    const int hilos = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    for (auto _ : state) {
        tev::FiguraPozos f = tev::figura_de_pozos(pozos, tev::ModeloEstiramiento{});
        for (tev::PozoEnFigura& e : f.pozos) {
            tev::ResultadoIncertidumbre r = tev::calcula_incertidumbre(
                *columnas[static_cast<std::size_t>(e.indice)], tev::CurvaNivelMar{},
                tev::todos_los_rangos(), 1000, 1, hilos);
            if (!r.ok()) state.SkipWithError(r.error.c_str());
            e.bandas = std::move(r.bandas);
        }
        pinta(f);
    }
}
BENCHMARK(BM_CincuentaPozosBandas)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
