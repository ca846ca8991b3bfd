// Drawing a full 100-bed column, and the whole road of opening a 100-bed
// file in the main window: read, compute, plot the curves, draw the column.

#include "main_window/com_file.h"
#include "main_window/form1.h"
#include "main_window/vista_columna.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <memory>

namespace {

std::unique_ptr<tev::Store> columna_de_cien()
{
    auto s = std::make_unique<tev::Store>();
    tev::valores_de_arranque(*s);
    tev::limpia_bancos(*s);
    const char* lits[] = {tev::kPelitas,    tev::kAreniscas, tev::kArcosas,
                          tev::kEvaporitas, tev::kCalizas,   tev::kPorcentual};
    const int32_t colores[] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};
    s->n_bancos = 100;
    float techo = 0;
    for (int i = 100; i >= 1; --i) {
        const float espesor = 20.0f + static_cast<float>((i * 37) % 180);
        s->nombre[i] = "Banco " + std::to_string(i);
        s->techo[i] = techo;
        s->base[i] = techo + espesor;
        techo = s->base[i];
        s->edad_techo[i] = static_cast<float>(100 - i) * 1.5f;
        s->edad_base[i] = static_cast<float>(101 - i) * 1.5f;
        s->litologia[i] = lits[i % 6];
        s->color[i] = colores[i % 6];
        s->porosidad[i] = 0.5f;
        s->coef_porosidad[i] = 0.4f;
        s->pct_arenisca[i] = 50;
        s->pct_pelita[i] = 50;
        s->base_descomp[i] = espesor * 1.3f;
    }
    return s;
}

class DialogoFijo : public tev::ComFile {
  public:
    QString ruta;

  protected:
    QString pide_abrir(QWidget*) override { return ruta; }
};

void BM_DrawColumnaDeCien(benchmark::State& state)
{
    auto s = columna_de_cien();
    tev::Form1 ventana(*s);
    for (auto _ : state) {
        ventana.draw();
        benchmark::DoNotOptimize(ventana.Picture1->imagen().constBits());
    }
}
BENCHMARK(BM_DrawColumnaDeCien)->Unit(benchmark::kMillisecond);

void BM_AbrirArchivoDeCien(benchmark::State& state)
{
    auto s = columna_de_cien();
    const QString ruta = QDir::temp().filePath("tevarro_bench_cien.tev");
    {
        const tev::EscrituraColumna w = tev::escribe_columna(*s);
        QFile f(ruta);
        f.open(QIODevice::WriteOnly);
        f.write(w.bytes.data(), static_cast<qint64>(w.bytes.size()));
    }
    tev::Form1 ventana(*s);
    auto dialogo = std::make_unique<DialogoFijo>();
    dialogo->ruta = ruta;
    ventana.pon_com_file(std::move(dialogo));
    ventana.avisa = [](const QString&, const QString&) {};
    for (auto _ : state) {
        ventana.abrir_mnu_Click();
        benchmark::DoNotOptimize(s->tevarro_tectonica[1]);
    }
    QFile::remove(ruta);
}
BENCHMARK(BM_AbrirArchivoDeCien)->Unit(benchmark::kMillisecond);

} // namespace
