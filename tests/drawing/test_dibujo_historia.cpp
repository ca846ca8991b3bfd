#include "drawing/dibujo_historia.h"

#include "compute/historia.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace tev {
namespace {

const QColor kRojo(255, 0, 0);
const QColor kVerde(0, 255, 0);
const QColor kBlanco(255, 255, 255);
const QColor kNegro(0, 0, 0);

// Multiples of paso in [desde, hasta], counted one by one.
int cuenta_multiplos(double desde, double hasta, double paso)
{
    int n = 0;
    for (long k = -100000; k <= 100000; ++k) {
        const double v = k * paso;
        if (v >= desde - 1e-9 && v <= hasta + 1e-9) ++n;
    }
    return n;
}

TEST(MarcasRedondas, ElPasoRedondoMasFinoQueCabe)
{
    const struct {
        double desde, hasta;
        int maximo;
        double paso;
    } casos[] = {
        {0, 163, 10, 20},    // 20 gives 0..160, nine ticks; 10 would give 17
        {0, 2400, 14, 200},  // 13 ticks; 100 would give 25
        {-35, 1520, 8, 200}, // 0..1400, eight ticks
        {0, 0.37, 5, 0.1},   // 0, 0.1, 0.2, 0.3
        {0, 20, 9, 5},       // 2 would give 11
        {0, 20, 4, 10},      // 5 would give 5
    };
    for (const auto& c : casos) {
        const double paso = paso_redondo(c.desde, c.hasta, c.maximo);
        EXPECT_NEAR(paso, c.paso, 1e-12) << c.desde << ".." << c.hasta << " / " << c.maximo;
        // At most maximo ticks, and the next finer round step would give more.
        EXPECT_LE(cuenta_multiplos(c.desde, c.hasta, paso), c.maximo);
        const double mantisa = paso / std::pow(10.0, std::floor(std::log10(paso) + 1e-9));
        const double mas_fino = mantisa < 3 ? paso / 2 : paso * 2 / 5; // 1 -> .5, 2 -> 1, 5 -> 2
        EXPECT_GT(cuenta_multiplos(c.desde, c.hasta, mas_fino), c.maximo) << mas_fino;
    }
    const std::vector<double> m = marcas_redondas(-35, 1520, 8);
    EXPECT_EQ(m, (std::vector<double>{0, 200, 400, 600, 800, 1000, 1200, 1400}));
    EXPECT_TRUE(marcas_redondas(5, 5, 5).empty());
    EXPECT_TRUE(marcas_redondas(0, NAN, 5).empty());
}

// Two beds without pores, 100 m each: bed 1 (red) laid down from 20 to
// 10 Ma, bed 2 (green) from 10 to 0 Ma. Sandstone (2650), no water depth, sea
// level 0 at 10 and 0 Ma: Y = S (3300 - 2650) / 2300, total = S.
std::unique_ptr<Store> dos_bancos()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    s->n_bancos = 2;
    const float techo[3] = {0, 100, 0}, base[3] = {0, 200, 100};
    const float edad_techo[3] = {0, 10, 0}, edad_base[3] = {0, 20, 10};
    const int32_t color[3] = {0, 0x0000FF, 0x00FF00};
    for (int i = 1; i <= 2; ++i) {
        s->techo[i] = techo[i];
        s->base[i] = base[i];
        s->edad_techo[i] = edad_techo[i];
        s->edad_base[i] = edad_base[i];
        s->porosidad[i] = 0;
        s->coef_porosidad[i] = 0.5f;
        s->litologia[i] = kAreniscas;
        s->color[i] = color[i];
    }
    s->nombre[1] = "Inferior";
    s->nombre[2] = "Superior";
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
    const MarcoHistoria m = marco_historia(r.historia, *s, QSize(900, 600));
    EXPECT_EQ(m.area, QRectF(QPointF(78, 52), QPointF(656, 584)));
    EXPECT_EQ(m.marcas_edad, (std::vector<double>{0, 5, 10, 15, 20}));
    EXPECT_EQ(m.marcas_profundidad.size(), 11u);
    EXPECT_EQ(m.marcas_profundidad.back(), 200);

    const QImage img = pinta(r.historia, *s, QSize(900, 600));
    // The whole picture is painted.
    EXPECT_EQ(img.pixelColor(2, 2), kBlanco);
    EXPECT_EQ(img.pixelColor(899, 599), kBlanco);
    // At 2 Ma bed 2 spans 0..80 m; at 5 Ma bed 1 spans 50..150 m; at 15 Ma
    // bed 1 is 0..50 m thick and nothing lies below it.
    EXPECT_EQ(img.pixelColor(en_900x600(2, 30).toPoint()), kVerde);
    EXPECT_EQ(img.pixelColor(en_900x600(5, 120).toPoint()), kRojo);
    EXPECT_EQ(img.pixelColor(en_900x600(15, 25).toPoint()), kRojo);
    EXPECT_EQ(img.pixelColor(en_900x600(15, 150).toPoint()), kBlanco);
    EXPECT_EQ(img.pixelColor(en_900x600(12, 5).toPoint()), kRojo);
    // Before 20 Ma there is nothing.
    EXPECT_EQ(img.pixelColor(80, 60), kBlanco);

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
    // Two pixels wide: black never reaches 3 px off the line's centre.
    for (double t : {2.0, 5.0, 8.0}) {
        const QPointF c = en_900x600(t, y10 + (10 - t) / 10 * (y0 - y10));
        EXPECT_FALSE(cerca(img, c + QPointF(0, 4), kNegro, 0)) << t;
        EXPECT_FALSE(cerca(img, c - QPointF(0, 4), kNegro, 0)) << t;
    }
    // No curve before the oldest step (10 Ma).
    for (double prof = 2; prof < 200; prof += 2) // inside the frame
        EXPECT_FALSE(cerca(img, en_900x600(15, prof), kNegro, 0)) << prof;

    // Ticks above the top edge and left of the left edge: 10 Ma, 100 m.
    EXPECT_EQ(img.pixelColor(QPoint(367, 49)), kNegro);
    EXPECT_EQ(img.pixelColor(QPoint(75, 318)), kNegro);

    // Legend (670..886 from y = 52): the tectonic sample at y = 65, the
    // dashed one at y = 83, then bed 2 and bed 1 with their colours.
    EXPECT_EQ(m.leyenda.left(), 670);
    EXPECT_EQ(img.pixelColor(690, 65), kNegro);
    int negros = 0;
    for (int x = 678; x <= 702; ++x)
        negros += img.pixelColor(x, 83) == kNegro;
    EXPECT_GT(negros, 8);
    EXPECT_LT(negros, 24);
    EXPECT_EQ(img.pixelColor(690, 101), kVerde);
    EXPECT_EQ(img.pixelColor(690, 119), kRojo);
}

TEST(DibujoHistoria, SeReescalaConElTamano)
{
    auto s = dos_bancos();
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok());
    // 450 x 300: legend 120 px, plot 78..302 by 52..284, ages 20..0 in steps
    // of 10, depths 0..200 in steps of 50.
    const MarcoHistoria m = marco_historia(r.historia, *s, QSize(450, 300));
    EXPECT_EQ(m.area, QRectF(QPointF(78, 52), QPointF(302, 284)));
    EXPECT_EQ(m.marcas_edad, (std::vector<double>{0, 10, 20}));
    EXPECT_EQ(m.marcas_profundidad, (std::vector<double>{0, 50, 100, 150, 200}));
    const QImage img = pinta(r.historia, *s, QSize(450, 300));
    auto en = [](double edad, double prof) {
        return QPointF(78 + (20 - edad) / 20 * 224, 52 + prof / 200 * 232).toPoint();
    };
    EXPECT_EQ(img.pixelColor(en(2, 30)), kVerde);
    EXPECT_EQ(img.pixelColor(en(5, 120)), kRojo);
    EXPECT_EQ(img.pixelColor(en(15, 150)), kBlanco);
}

TEST(DibujoHistoria, UnaColumnaVaciaDibujaLosEjes)
{
    Store s;
    const QImage img = pinta(Historia{}, s, QSize(600, 400));
    // A frame around the plot and nothing but white inside it, where the
    // message is not.
    const MarcoHistoria m = marco_historia(Historia{}, s, QSize(600, 400));
    EXPECT_EQ(img.pixelColor(m.area.topLeft().toPoint()), kNegro);
    EXPECT_EQ(img.pixelColor((m.area.topLeft() + QPointF(10, 10)).toPoint()), kBlanco);
    EXPECT_FALSE(m.marcas_edad.empty());
    EXPECT_FALSE(m.marcas_profundidad.empty());
}

TEST(DibujoHistoria, GuardaPngSvgYPdf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto s = dos_bancos();
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok());
    QString error;
    const QString png = dir.filePath("h.png");
    ASSERT_TRUE(guarda_historia(r.historia, *s, png, kTamanoHistoria, &error))
        << error.toStdString();
    const QImage img(png);
    EXPECT_EQ(img.size(), QSize(900, 600));
    EXPECT_EQ(img.pixelColor(en_900x600(2, 30).toPoint()), kVerde);

    const QString svg = dir.filePath("h.svg");
    ASSERT_TRUE(guarda_historia(r.historia, *s, svg, kTamanoHistoria, &error));
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains("<svg"));
    EXPECT_TRUE(bytes.contains("#00ff00"));
    EXPECT_TRUE(bytes.contains("Superior"));

    const QString pdf = dir.filePath("h.pdf");
    ASSERT_TRUE(guarda_historia(r.historia, *s, pdf, kTamanoHistoria, &error));
    QFile g(pdf);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_TRUE(g.readAll().startsWith("%PDF-"));

    EXPECT_FALSE(guarda_historia(r.historia, *s, dir.filePath("h.bmp"), kTamanoHistoria, &error));
    EXPECT_TRUE(error.contains("h.bmp"));
    EXPECT_FALSE(QFile::exists(dir.filePath("h.bmp")));
}

} // namespace
} // namespace tev
