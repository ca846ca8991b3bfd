// The column view as the screen shows it, at the scale factor the test is run
// with (QT_SCALE_FACTOR, set by CTest: 1, 1.25, 1.5 and 2): the example
// column opened, the view grabbed as it paints itself, and every fill colour
// meeting only itself or a black outline.

#include "main_window/form1.h"
#include "main_window/ventana_de_prueba.h"
#include "main_window/vista_columna.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QSet>

namespace tev {
namespace {

const QString kEjemplo = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";

// Fill colours of the example that no outline or label uses.
QSet<QRgb> rellenos_del_ejemplo(const Store& s)
{
    QSet<QRgb> r;
    for (int i = 1; i <= s.n_bancos; ++i) {
        const int32_t c = s.color[i];
        const QRgb q = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        if (q != qRgb(0, 0, 0) && q != qRgb(255, 255, 255)) r.insert(q);
    }
    return r;
}

// Fill pixels with a neighbour that is neither their own colour nor black.
int rellenos_sueltos(const QImage& img, const QSet<QRgb>& rellenos, int* vistos)
{
    int sueltos = 0;
    *vistos = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) | 0xFF000000u;
            if (!rellenos.contains(c)) continue;
            ++*vistos;
            const QPoint vecinos[] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const QPoint& v : vecinos) {
                if (!img.rect().contains(v)) continue;
                const QRgb n = img.pixel(v) | 0xFF000000u;
                if (n != c && n != qRgb(0, 0, 0)) ++sueltos;
            }
        }
    }
    return sueltos;
}

TEST(ColumnaEnPantalla, RellenosYContornosCoinciden)
{
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    prueba::Ventana v;
    ASSERT_TRUE(v.f->abre_archivo(kEjemplo));
    VistaColumna* vista = v.f->Picture1;
    ASSERT_DOUBLE_EQ(vista->devicePixelRatioF(), factor);

    const QSet<QRgb> rellenos = rellenos_del_ejemplo(*v.s);
    ASSERT_EQ(rellenos.size(), 6);

    // The retained drawing, in device pixels.
    int vistos = 0;
    EXPECT_EQ(vista->imagen().size(), vista->area() * factor);
    EXPECT_EQ(rellenos_sueltos(vista->imagen(), rellenos, &vistos), 0);
    EXPECT_GT(vistos, 10000 * factor * factor);

    // The view as it paints itself on the screen, frame and all.
    const QImage pantalla = vista->grab().toImage();
    EXPECT_EQ(pantalla.size(), vista->size() * factor);
    EXPECT_EQ(rellenos_sueltos(pantalla, rellenos, &vistos), 0);
    EXPECT_GT(vistos, 10000 * factor * factor);
}

} // namespace
} // namespace tev
