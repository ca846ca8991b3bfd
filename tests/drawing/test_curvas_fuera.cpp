// The curves' strokes wholly off the picture are left out, and nothing else:
// drawn shifted onto a larger picture, which keeps them, the same curves show
// the very same pixels where the smaller picture lies.

#include "drawing/dibujo_curvas.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>

namespace tev {
namespace {

QImage curvas_en(const Store& s, float escala_tiempo, float escala_profundidad, QSize tamano,
                 int margen, qreal proporcion)
{
    QImage img((tamano + QSize(2 * margen, 2 * margen)) * proporcion,
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(proporcion);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(margen, margen);
    p.scale(1.0 / kCurvasTwipsPorPixel, 1.0 / kCurvasTwipsPorPixel);
    dibuja_curvas(s, escala_tiempo, escala_profundidad, p);
    return img;
}

TEST(CurvasFueraDelDibujo, LoQueNoSeVeSeOmiteYNadaMas)
{
    Store s;
    valores_de_arranque(s);
    s.n_bancos = 100;
    for (int i = 1; i <= 100; ++i) {
        s.edad_techo[i] = static_cast<float>(100 - i) * 1.5f;
        s.edad_base[i] = static_cast<float>(101 - i) * 1.5f;
        s.base_descomp[i] = 20.0f + static_cast<float>((i * 37) % 180);
        s.correccion_carga[i] = s.base_descomp[i] * 0.6f;
        // Some subsidence turns back up, so that curves leave and come back.
        s.tevarro_tectonica[i] = s.base_descomp[i] * (i % 3 == 0 ? -1.1f : 0.7f);
    }
    const QSize tamano = tamano_ventana_curvas();
    const int margen = 80;
    for (qreal r : {1.0, 2.0}) {
        for (const auto& [tiempo, profundidad] :
             {std::pair{100.0f, 1.0f}, {40.0f, 0.4f}, {250.0f, 3.0f}, {-60.0f, -0.5f}}) {
            const QImage pequena = curvas_en(s, tiempo, profundidad, tamano, 0, r);
            const QImage grande = curvas_en(s, tiempo, profundidad, tamano, margen, r);
            const auto m = static_cast<int>(margen * r);
            EXPECT_TRUE(grande.copy(m, m, pequena.width(), pequena.height()) == pequena)
                << "proporción " << r << ", escalas " << tiempo << " " << profundidad;
        }
    }
}

} // namespace
} // namespace tev
