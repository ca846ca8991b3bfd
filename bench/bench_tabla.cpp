// The column table's promise: from an edit committed in a cell of a 100-bed
// column to every open window redrawn (the table itself, its history tab,
// the main window's column, the bed dialog, the curve and history windows),
// at most 20 ms.

#include "columnas_de_prueba.h"

#include "compute/celdas_columna.h"
#include "main_window/form1.h"
#include "table_window/tabla_columna.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QUndoStack>

namespace {

// With redibujar false, the same edits without the repaints: what the
// computation and the windows' updates take before any pixel.
void edicion(benchmark::State& state, bool redibujar)
{
    auto s = tev::columna_de_cien();
    tev::Form1 ventana(*s);
    ventana.avisa = [](const QString&, const QString&) {};
    ventana.show();
    ventana.calcula_y_dibuja_curvas(); // opens the curve window
    for (const char* menu : {"modificar_mnu", "historia_mnu", "tabla_mnu"})
        ventana.findChild<QAction*>(menu)->trigger();
    tev::TablaColumna* tabla = ventana.tabla_ventana();
    QApplication::processEvents();
    const QString textos[] = {"30", "45,5"};
    int k = 0;
    for (auto _ : state) {
        // The top bed's paleobathymetry, as the cell's editor commits it.
        tabla->edita(0, tev::kColPaleobatimetria, textos[k++ % 2]);
        if (redibujar)
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible()) w->repaint();
        if (k % 200 == 0) {
            state.PauseTiming();
            tabla->deshacer->clear(); // the history would only grow
            state.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(s->tevarro_tectonica[100]);
}
void BM_EdicionHastaVentanasRedibujadas(benchmark::State& state)
{
    edicion(state, true);
}
BENCHMARK(BM_EdicionHastaVentanasRedibujadas)->Unit(benchmark::kMillisecond);

void BM_EdicionSinRedibujar(benchmark::State& state)
{
    edicion(state, false);
}
BENCHMARK(BM_EdicionSinRedibujar)->Unit(benchmark::kMillisecond);

} // namespace
