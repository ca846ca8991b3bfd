#include "drawing/dibujo_historia.h"

#include "compute/historia.h"
#include "drawing/mezcla_de_colores.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <memory>

namespace tev {
namespace {

const QColor kRojo(255, 0, 0);
const QColor kVerde(0, 255, 0);
const QColor kBlanco(255, 255, 255);
const QColor kNegro(0, 0, 0);

TEST(MarcasRedondas, ElPasoRedondoMasFinoQueCabe)
{
    // {from, to, at most, step}: the finer round step would give too many.
    const double casos[][4] = {
        {0, 163, 10, 20},   // 0..160: 9 ticks; 10 would give 17
        {0, 2400, 14, 200}, // 13 ticks; 100 would give 25
        {0, 0.37, 5, 0.1},  // 4 ticks; 0.05 would give 8
        {0, 20, 4, 10},     // 3 ticks; 5 would give 5
    };
    for (const auto& c : casos)
        EXPECT_NEAR(paso_redondo(c[0], c[1], static_cast<int>(c[2])), c[3], 1e-12) << c[1];
    EXPECT_EQ(marcas_redondas(-35, 1520, 8),
              (std::vector<double>{0, 200, 400, 600, 800, 1000, 1200, 1400}));
    EXPECT_TRUE(marcas_redondas(5, 5, 5).empty());
}

// Two beds without pores, 100 m each: bed 1 (red) laid down from 20 to
// 10 Ma, bed 2 (green) from 10 to 0 Ma. Sandstone (2650), no water depth, sea
// level 0 at 10 and 0 Ma: Y = S (3300 - 2650) / 2300, total = S.
std::unique_ptr<Store> dos_bancos()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    s->n_bancos = 2;
    for (int i = 1; i <= 2; ++i) {
        s->techo[i] = 200 - 100 * i;
        s->base[i] = 300 - 100 * i;
        s->edad_techo[i] = 20 - 10 * i;
        s->edad_base[i] = 30 - 10 * i;
        s->coef_porosidad[i] = 0.5f;
        s->color[i] = i == 1 ? 0x0000FF : 0x00FF00;
    }
    return s;
}

QImage pinta(const Historia& h, const Store& s, QSize tamano)
{
    QImage img(tamano, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::gray);
    QPainter p(&img);
    pinta_historia(h, s, p, tamano);
    return img;
}

bool cerca(const QImage& img, QPointF p, const QColor& color, int radio = 1)
{
    for (int y = static_cast<int>(p.y()) - radio; y <= static_cast<int>(p.y()) + radio; ++y)
        for (int x = static_cast<int>(p.x()) - radio; x <= static_cast<int>(p.x()) + radio; ++x)
            if (img.valid(x, y) && img.pixelColor(x, y).rgb() == color.rgb()) return true;
    return false;
}

// At 900 x 600 the legend takes 216 px: the plot runs from x = 78 to 656 and
// from y = 52 to 584. Ages 20..0 Ma in steps of 5 (at most 9 ticks fit 578
// px), depths 0..200 m in steps of 20 (at most 14 fit 532 px).
QPointF en_900x600(double edad, double prof)
{
    return {78 + (20 - edad) / 20 * 578, 52 + prof / 200 * 532};
}

TEST(DibujoHistoria, BancosCurvasYEjesEnSuSitio)
{
    auto s = dos_bancos();
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(marco_historia(r.historia, *s, QSize(900, 600)).marcas_edad,
              (std::vector<double>{0, 5, 10, 15, 20}));
    const QImage img = pinta(r.historia, *s, QSize(900, 600));
    EXPECT_EQ(img.pixelColor(899, 599), kBlanco); // all of it painted
    // At 2 Ma bed 2 spans 0..80 m; at 5 Ma bed 1 spans 50..150 m; at 15 Ma
    // bed 1 is 0..50 m thick and nothing lies below it.
    EXPECT_EQ(img.pixelColor(en_900x600(2, 30).toPoint()), kVerde);
    EXPECT_EQ(img.pixelColor(en_900x600(5, 120).toPoint()), kRojo);
    EXPECT_EQ(img.pixelColor(en_900x600(15, 25).toPoint()), kRojo);
    EXPECT_EQ(img.pixelColor(en_900x600(15, 150).toPoint()), kBlanco);

    // The tectonic curve, solid, from 28.26 m at 10 Ma to 56.52 m at 0 Ma;
    // the total subsidence, dashed, from 100 to 200 m along the base of bed 1.
    const double y10 = 100.0 * 650 / 2300, y0 = 200.0 * 650 / 2300;
    int tectonica = 0, total = 0;
    const int muestras = 60;
    for (int k = 0; k < muestras; ++k) {
        const double t = 9.5 - 9.0 * k / (muestras - 1); // inside 10..0 Ma
        const double f = (10 - t) / 10;
        tectonica += cerca(img, en_900x600(t, y10 + f * (y0 - y10)), kNegro);
        total += cerca(img, en_900x600(t, 100 + f * 100), kNegro);
    }
    EXPECT_EQ(tectonica, muestras);
    EXPECT_GT(total, muestras / 3);
    EXPECT_LT(total, muestras * 9 / 10);
    // No curve before the oldest step (10 Ma).
    for (double prof = 2; prof < 200; prof += 2) // inside the frame
        EXPECT_FALSE(cerca(img, en_900x600(15, prof), kNegro, 0)) << prof;

    // Tick of 10 Ma above the top edge. Legend from x = 670, y = 52: the
    // tectonic sample at y = 65, then bed 2 and bed 1 in their colours.
    EXPECT_EQ(img.pixelColor(QPoint(367, 49)), kNegro);
    EXPECT_EQ(img.pixelColor(690, 65), kNegro);
    EXPECT_EQ(img.pixelColor(690, 101), kVerde);
    EXPECT_EQ(img.pixelColor(690, 119), kRojo);
}

using prueba::a_traves;
using prueba::parecido;

TEST(DibujoHistoria, LasBandasSombreanEntreSusPercentiles)
{
    auto s = dos_bancos();
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.historia.pasos.size(), 2u); // bed 2 at 0 Ma, bed 1 at 10 Ma
    // Percentiles 2.5, 16, 50, 84, 97.5; at 5 Ma, halfway, the tectonic band
    // spans 30..52.5 m (16-84 %: 37.5..47) and the total one 130..155 m.
    std::vector<BandaPaso> bandas(2);
    const double tectonica[2][5] = {{40, 50, 56, 62, 70}, {20, 25, 28, 32, 35}};
    const double total[2][5] = {{170, 180, 200, 200, 200}, {90, 95, 100, 105, 110}};
    for (std::size_t k = 0; k < 2; ++k) {
        bandas[k].banco_superior = 2 - static_cast<int>(k);
        for (int j = 0; j < kNumPercentiles; ++j) {
            bandas[k].tectonica[j] = tectonica[k][j];
            bandas[k].total[j] = total[k][j];
        }
    }
    const QSize tamano(900, 600);
    QImage img(tamano, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        pinta_historia(r.historia, *s, p, tamano, bandas);
    }
    // The frame is the one without bands (they stay within 0..200 m).
    const auto color = [&](double edad, double prof) {
        return img.pixelColor(en_900x600(edad, prof).toPoint());
    };
    // At 5 Ma bed 2 (green) spans 0..50 m, bed 1 (red) 50..150 m.
    EXPECT_EQ(color(5, 25), kVerde);
    EXPECT_TRUE(parecido(color(5, 33), a_traves(kVerde, kColorBandaTectonica, 1))) << 33;
    EXPECT_TRUE(parecido(color(5, 39), a_traves(kVerde, kColorBandaTectonica, 2))) << 39;
    EXPECT_EQ(color(5, 56), kRojo);
    EXPECT_EQ(color(5, 120), kRojo);
    EXPECT_TRUE(parecido(color(5, 135), a_traves(kRojo, kColorBandaTotal, 1))) << 135;
    // Near the steps: at 9 Ma the tectonic band spans 22..38.5 m, over bed 1
    // (bed 2 is then 10 m thick).
    EXPECT_EQ(color(9, 18), kRojo);
    EXPECT_TRUE(parecido(color(9, 23.5), a_traves(kRojo, kColorBandaTectonica, 1)));
    EXPECT_EQ(color(9, 42), kRojo);
    // Nothing before the oldest step.
    EXPECT_EQ(color(12, 28), kRojo);

    // The legend lists the bands after both curves, the beds below them.
    EXPECT_TRUE(parecido(img.pixelColor(690, 101), a_traves(kBlanco, kColorBandaTotal, 1)));
    EXPECT_TRUE(parecido(img.pixelColor(690, 119), a_traves(kBlanco, kColorBandaTectonica, 1)));
    EXPECT_TRUE(parecido(img.pixelColor(690, 137), a_traves(kBlanco, kColorBandaTectonica, 2)));
    EXPECT_EQ(img.pixelColor(690, 155), kVerde);
    EXPECT_EQ(img.pixelColor(690, 173), kRojo);
    EXPECT_EQ(entrada_de_leyenda_en(r.historia, *s, tamano, {700, 119}, bandas),
              QString::fromUtf8("Tectónica 2,5–97,5 %"));
    EXPECT_EQ(entrada_de_leyenda_en(r.historia, *s, tamano, {700, 101}),
              QString::fromUtf8("2 ")); // bed 2 has no name

    // A band deeper than every horizon deepens the frame to include it;
    // without bands the frame is the one it always was.
    bandas[0].total[4] = 350;
    EXPECT_GE(marco_historia(r.historia, *s, tamano, bandas).profundidad_abajo, 350);
    EXPECT_EQ(marco_historia(r.historia, *s, tamano).profundidad_abajo, 200);
}

TEST(DibujoHistoria, LasProfundidadesHondasCabenAlaIzquierda)
{
    auto s = dos_bancos();
    ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(marco_historia(r.historia, *s, QSize(900, 600)).area.left(), 78);
    // A total subsidence of 2e9 m: captions of ten digits, wider than the
    // usual margin leaves between the axis title and the ticks.
    r.historia.pasos.back().subsidencia_total = 2e9;
    const MarcoHistoria m = marco_historia(r.historia, *s, QSize(900, 600));
    const QImage img = pinta(r.historia, *s, QSize(900, 600));
    QFont f;
    f.setPixelSize(12);
    const QFontMetrics fm(f);
    const int ancho = fm.horizontalAdvance("2000000000");
    EXPECT_GE(m.area.left(), 4 + fm.height() + 4 + ancho + 8);
    // Nothing is drawn left of the axis title, which starts at x = 4; and the
    // captions end where they did, 8 px left of the plot.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(img.pixelColor(x, y), kBlanco) << x << ", " << y;
    const double y0 = m.punto(m.edad_izquierda, 0).y();
    bool hay_texto = false;
    for (int x = static_cast<int>(m.area.left()) - 8 - ancho;
         x < static_cast<int>(m.area.left()) - 8; ++x)
        for (int y = static_cast<int>(y0) - 6; y <= static_cast<int>(y0) + 6; ++y)
            hay_texto = hay_texto || img.pixelColor(x, y) != kBlanco;
    EXPECT_TRUE(hay_texto);
}

} // namespace
} // namespace tev
