// The column drawing to the pixel, on an image at a scale chosen so that
// every coordinate falls on a whole pixel: 10 view units per pixel, depth 0
// on pixel row 100 (ScaleTop -1000).

#include "drawing/imagen_columna.h"

#include "drawing/lienzo.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

namespace tev {
namespace {

const QSize kTamano(1800, 400);
const Escala kEscala{0, -1000, 18000, 4000};

int px(float x)
{
    return static_cast<int>(x) / 10;
}
int py(float y)
{
    return static_cast<int>(y + 1000) / 10;
}

const QColor kBlanco(255, 255, 255);
const QColor kNegro(0, 0, 0);

// One bed of every lithology and one whose text names none, youngest last;
// bed i has the colour (10 i, 200, 255 - 10 i) and its own thickness.
struct Columna {
    Store s;
    static constexpr const char* kLitologias[7] = {
        "Areniscas", "Pelitas", "PORCENTUAL", "Arcosas", "Calizas", "Evaporitas", "otra"};
    static constexpr int kSangrias[7] = {0, 300, 150, 150, -200, 500, 500};
    Columna()
    {
        valores_de_arranque(s);
        s.n_bancos = 7;
        for (int i = 1; i <= 7; ++i) {
            s.techo[i] = static_cast<float>(300 * (7 - i));
            s.base[i] = static_cast<float>(300 * (8 - i));
            s.techo_descomp[i] = 0;
            s.base_descomp[i] = static_cast<float>(40 + 30 * i);
            s.litologia[i] = kLitologias[i - 1];
            s.color[i] = (255 - 10 * i) << 16 | 200 << 8 | 10 * i; // 0x00BBGGRR
            s.nombre[i] = "Banco" + std::to_string(i);
        }
    }
    static QColor color(int i) { return QColor(10 * i, 200, 255 - 10 * i); }
};

// A text as the drawing prints it: its top-left corner at the pixel (x, y).
QImage texto_solo(const QString& t, int x, int y, const QFont& f)
{
    QImage img(kTamano, QImage::Format_ARGB32_Premultiplied);
    img.fill(kBlanco);
    QPainter p(&img);
    p.setFont(f);
    p.setPen(kNegro);
    p.drawText(QPointF(x, y + QFontMetricsF(f).ascent()), t);
    return img;
}

// The dark pixels of a region are those of the text alone.
void es_el_texto(const QImage& dibujo, const QString& t, int x, int y, int ancho)
{
    const QImage solo = texto_solo(t, x, y, QFont());
    const int alto = static_cast<int>(QFontMetricsF(QFont()).height());
    int oscuros = 0;
    for (int v = y; v < y + alto; ++v) {
        for (int u = x + 1; u < x + ancho; ++u) {
            const bool a = qGray(dibujo.pixel(u, v)) < 128;
            const bool b = qGray(solo.pixel(u, v)) < 128;
            ASSERT_EQ(a, b) << t.toStdString() << " en (" << u << ", " << v << ")";
            oscuros += a;
        }
    }
    EXPECT_GT(oscuros, 10) << t.toStdString();
}

TEST(DibujoColumna, CadaElementoEnSuPixel)
{
    Columna c;
    const QImage img = imagen_de_columna(c.s, kTamano, kEscala);
    for (int i = 1; i <= 7; ++i) {
        const int d = Columna::kSangrias[i - 1];
        const int medio = py(c.s.techo[i] + 150);
        // Present-day box: the left edge moves with the lithology, the right
        // edge stays at x = 2000.
        EXPECT_EQ(img.pixelColor(px(1000 + d) - 1, medio), kBlanco) << i;
        EXPECT_EQ(img.pixelColor(px(1000 + d), medio), kNegro) << i;
        EXPECT_EQ(img.pixelColor(px(1000 + d) + 1, medio), Columna::color(i)) << i;
        EXPECT_EQ(img.pixelColor(px(2000) - 1, medio), Columna::color(i)) << i;
        EXPECT_EQ(img.pixelColor(px(2000), medio), kNegro) << i;
        // Its top and bottom edges, at the bed's depths.
        EXPECT_EQ(img.pixelColor(px(1900), py(c.s.base[i])), kNegro) << i;

        // Decompacted box of bed i, 2000 units per column, hanging from 0.
        const float k = static_cast<float>(2000 * (i - 1));
        const int abajo = py(c.s.base_descomp[i]);
        EXPECT_EQ(img.pixelColor(px(k + 3000 + d) - 1, abajo - 2), kBlanco) << i;
        EXPECT_EQ(img.pixelColor(px(k + 3000 + d), abajo - 2), kNegro) << i;
        EXPECT_EQ(img.pixelColor(px(k + 3000 + d) + 1, abajo - 2), Columna::color(i)) << i;
        EXPECT_EQ(img.pixelColor(px(k + 4000) - 1, abajo - 2), Columna::color(i)) << i;
        EXPECT_EQ(img.pixelColor(px(k + 4000), abajo - 2), kNegro) << i;
        EXPECT_EQ(img.pixelColor(px(k + 3500), abajo), kNegro) << i;
        EXPECT_EQ(img.pixelColor(px(k + 3500), abajo + 1), kBlanco) << i;

        // The base labels the present-day box, the decompacted base its own
        // box; the name stands above the decompacted column.
        es_el_texto(img, QString::fromStdString(forma_impresa(c.s.base[i])), px(2000),
                    py(c.s.base[i]), 60);
        es_el_texto(img, QString::fromStdString(forma_impresa(c.s.base_descomp[i])), px(k + 4000),
                    abajo, 60);
        es_el_texto(img, QString::fromStdString(c.s.nombre[i]), px(k + 3000 + d), py(-200), 100);
    }

    // The datum line from x = 500 to 2500 + 2000 n at depth 0.
    const int cero = py(0);
    EXPECT_EQ(img.pixelColor(px(500) - 1, cero), kBlanco);
    EXPECT_EQ(img.pixelColor(px(500), cero), kNegro);
    EXPECT_EQ(img.pixelColor(px(700), cero), kNegro);
    EXPECT_EQ(img.pixelColor(px(2500 + 2000 * 7), cero), kNegro);
    EXPECT_EQ(img.pixelColor(px(2500 + 2000 * 7) + 1, cero), kBlanco);
    EXPECT_EQ(img.pixelColor(px(700), cero + 1), kBlanco);
}

} // namespace
} // namespace tev
