// One capture of the bed dialog, which runs on every pointer movement over
// its surface: it must stay far below a millisecond.

#include "bed_dialog/form2.h"
#include "model/store.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointingDevice>

#include <memory>

namespace {

std::unique_ptr<tev::Store> columna()
{
    auto s = std::make_unique<tev::Store>();
    tev::valores_de_arranque(*s);
    tev::limpia_bancos(*s);
    s->n_bancos = 3;
    for (int i = 1; i <= 3; ++i) {
        s->nombre[i] = "Banco " + std::to_string(i);
        s->techo[i] = static_cast<float>(300 - 100 * i);
        s->base[i] = static_cast<float>(400 - 100 * i);
        s->edad_techo[i] = static_cast<float>(30 - 10 * i);
        s->edad_base[i] = static_cast<float>(40 - 10 * i);
        s->litologia[i] = tev::kPorcentual;
        s->pct_arenisca[i] = 60;
        s->pct_pelita[i] = 30;
        s->pct_caliza[i] = 5;
        s->pct_evaporita[i] = 5;
        s->paleobatimetria[i] = 200;
        s->color[i] = 0x0000FF;
    }
    s->banco_actual = 2;
    return s;
}

// The capture of a percentage bed, as the handler runs it.
void BM_CapturaPorcentual(benchmark::State& state)
{
    auto s = columna();
    tev::Form2 f(*s);
    f.show();
    for (auto _ : state) {
        f.Form_MouseMove();
        benchmark::DoNotOptimize(s->densidad[2]);
    }
}
BENCHMARK(BM_CapturaPorcentual)->Unit(benchmark::kMicrosecond);

// A pointer movement delivered to the dialog surface, alternating between two
// points.
void BM_MovimientoSobreElDialogo(benchmark::State& state)
{
    auto s = columna();
    tev::Form2 f(*s);
    f.show();
    int k = 0;
    for (auto _ : state) {
        const QPointF p(100, 85 + (++k & 1));
        QMouseEvent e(QEvent::MouseMove, p, f.mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier, QPointingDevice::primaryPointingDevice());
        QApplication::sendEvent(&f, &e);
        benchmark::DoNotOptimize(s->densidad[2]);
    }
}
BENCHMARK(BM_MovimientoSobreElDialogo)->Unit(benchmark::kMicrosecond);

// Every capture changes the boxes: the lithology alternates, so the porosity
// boxes, the percentage boxes' state and the error label all change.
void BM_CapturaCambiandoLitologia(benchmark::State& state)
{
    auto s = columna();
    tev::Form2 f(*s);
    f.show();
    int k = 0;
    for (auto _ : state) {
        f.Combo1->setEditText((++k & 1) ? "Pelitas" : "PORCENTUAL");
        f.Form_MouseMove();
        benchmark::DoNotOptimize(s->densidad[2]);
    }
}
BENCHMARK(BM_CapturaCambiandoLitologia)->Unit(benchmark::kMicrosecond);

} // namespace
