// Several wells on one chart: each well's colour where its steps lie, by the
// frame's edges, none of a hidden well's, and a legend entry per well; each
// well's uncertainty bands in its colour, translucent, under every curve.

#include "drawing/dibujo_pozos.h"

#include "drawing/grabadora.h"
#include "project_file/pozos.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace tev {
namespace {

const std::string kDir = TEVARRO_SOURCE_DIR "/examples/";

// Okabe and Ito's blue and vermillion: the first two wells' colours.
const QColor kAzul(0, 114, 178);
const QColor kBermellon(213, 94, 0);

QImage pintada(const FiguraPozos& f, QSize tamano)
{
    QImage im(tamano, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&im);
    pinta_pozos(f, p, tamano);
    return im;
}

bool color_cerca(const QImage& im, QPointF c, const QColor& color, int radio)
{
    for (int dy = -radio; dy <= radio; ++dy)
        for (int dx = -radio; dx <= radio; ++dx) {
            const QPoint q(static_cast<int>(c.x()) + dx, static_cast<int>(c.y()) + dy);
            if (im.valid(q) && im.pixelColor(q).rgb() == color.rgb()) return true;
        }
    return false;
}

int pixeles_de(const QImage& im, const QColor& color)
{
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            n += im.pixelColor(x, y).rgb() == color.rgb() ? 1 : 0;
    return n;
}

TEST(DibujoPozos, CadaPozoEnSuColorDondeEstanSusPasos)
{
    const std::vector<Pozo> pozos =
        lee_pozos({kDir + "neuquen.csv", kDir + "golfo_san_jorge.csv"}, PeticionAjuste{});
    ASSERT_TRUE(pozos[0].ok()) << pozos[0].error;
    ASSERT_TRUE(pozos[1].ok()) << pozos[1].error;
    FiguraPozos f;
    f.pozos = {{&pozos[0], 0, {}}, {&pozos[1], 1, {}}};
    const QSize tamano(1000, 640);
    const QImage im = pintada(f, tamano);
    const MarcoPozos m = marco_pozos(f, tamano);
    // The oldest age at the left, the present inside, 0 m inside.
    EXPECT_GT(m.edad_izquierda, m.edad_derecha);
    EXPECT_LE(m.edad_derecha, 0);
    EXPECT_LE(m.subsidencia_arriba, 0);
    const QColor colores[] = {kAzul, kBermellon};
    for (int k = 0; k < 2; ++k) {
        for (const std::size_t j : {std::size_t{1}, pozos[k].historia.pasos.size() / 2}) {
            const PasoHistoria& paso = pozos[k].historia.pasos[j];
            // The step's pixel from the frame's edges alone.
            const double x = m.area.left() + (m.edad_izquierda - paso.edad) /
                                                 (m.edad_izquierda - m.edad_derecha) *
                                                 m.area.width();
            const double y = m.area.top() + (paso.subsidencia_tectonica - m.subsidencia_arriba) /
                                                (m.subsidencia_abajo - m.subsidencia_arriba) *
                                                m.area.height();
            EXPECT_TRUE(color_cerca(im, QPointF(x, y), colores[k], 2))
                << "pozo " << k << ", paso " << j;
        }
    }

    // Hidden: the first well's colour is gone, the second keeps its own.
    FiguraPozos solo;
    solo.pozos = {{&pozos[1], 1, {}}};
    const QImage sin_primero = pintada(solo, tamano);
    EXPECT_GT(pixeles_de(im, kAzul), 100);
    EXPECT_EQ(pixeles_de(sin_primero, kAzul), 0);
    EXPECT_GT(pixeles_de(sin_primero, kBermellon), 100);
}

TEST(DibujoPozos, LeyendaConNombreBetaYEdadDelRift)
{
    const std::vector<Pozo> pozos =
        lee_pozos({kDir + "neuquen.csv", kDir + "golfo_san_jorge.csv"}, PeticionAjuste{});
    FiguraPozos f;
    f.pozos = {{&pozos[0], 0, {}}, {&pozos[1], 1, {}}};
    const QSize tamano(1000, 640);
    prueba::Grabadora g(tamano);
    {
        QPainter p(&g);
        pinta_pozos(f, p, tamano);
    }
    QString todo;
    for (const prueba::TextoGrabado& t : g.textos())
        todo += t.texto + QStringLiteral("|");
    for (const Pozo& w : pozos) {
        ASSERT_TRUE(w.ajuste.ok()) << w.ajuste.error;
        const QString nombre = QString::fromStdString(w.nombre);
        EXPECT_TRUE(todo.contains(nombre)) << todo.toStdString();
        // The rift age to one decimal, the user's way.
        EXPECT_TRUE(todo.contains(QLocale().toString(w.ajuste.edad_rift, 'f', 1)))
            << todo.toStdString();
    }
    EXPECT_EQ(todo.count(QString::fromUtf8("β")), 2) << todo.toStdString();
}

// Bands of half-widths `interior` (16-84 %) and `exterior` (2.5-97.5 %)
// metres around each step's tectonic subsidence, and `total` around its
// total subsidence.
std::vector<BandaPaso> bandas_alrededor(const Historia& h, double interior, double exterior,
                                        double total)
{
    std::vector<BandaPaso> r;
    for (const PasoHistoria& paso : h.pasos) {
        BandaPaso b;
        b.banco_superior = paso.banco_superior;
        const double t = paso.subsidencia_tectonica;
        const double desde_t[kNumPercentiles] = {-exterior, -interior, 0, interior, exterior};
        for (int q = 0; q < kNumPercentiles; ++q) {
            b.tectonica[q] = t + desde_t[q];
            b.total[q] = paso.subsidencia_total + (q - 2) * total / 2;
            b.edad[q] = paso.edad;
        }
        r.push_back(b);
    }
    return r;
}

// How far a pixel has gone from white towards a colour, per channel (0 white,
// 1 the colour itself); the channels of a translucent coat of the colour over
// white all go the same way.
struct Hacia {
    double minimo = 2, maximo = -1;
};
Hacia hacia(const QColor& pixel, const QColor& color)
{
    Hacia h;
    for (const auto& [px, c] :
         {std::pair{pixel.red(), color.red()}, std::pair{pixel.green(), color.green()},
          std::pair{pixel.blue(), color.blue()}}) {
        if (c > 230) continue; // too close to white to tell
        const double f = (255.0 - px) / (255.0 - c);
        h.minimo = std::min(h.minimo, f);
        h.maximo = std::max(h.maximo, f);
    }
    return h;
}

// The middle of the steps k and k + 1 of a well: its age and its tectonic and
// total subsidence there (the curves and the bands' edges are straight
// between steps), far from the steps' markers.
struct Entre {
    double edad, tectonica, total;
};
Entre entre(const Historia& h, std::size_t k)
{
    const PasoHistoria& a = h.pasos[k];
    const PasoHistoria& b = h.pasos[k + 1];
    return {(a.edad + b.edad) / 2, (a.subsidencia_tectonica + b.subsidencia_tectonica) / 2,
            (a.subsidencia_total + b.subsidencia_total) / 2};
}

// The step pair of h whose total subsidence lies farthest below its
// tectonic subsidence.
std::size_t mas_separados(const Historia& h)
{
    std::size_t mejor = 0;
    for (std::size_t k = 0; k + 1 < h.pasos.size(); ++k) {
        const Entre e = entre(h, k), m = entre(h, mejor);
        if (e.total - e.tectonica > m.total - m.tectonica) mejor = k;
    }
    return mejor;
}

TEST(DibujoPozos, BandasTranslucidasEnElColorDelPozoYMasOscuraLaInterior)
{
    std::vector<Pozo> pozos = lee_pozos({kDir + "neuquen.csv"}, PeticionAjuste{});
    ASSERT_TRUE(pozos[0].ok()) << pozos[0].error;
    pozos[0].ajuste.error = "sin ajuste"; // no fitted curve across the band
    const Historia& h = pozos[0].historia;
    FiguraPozos f;
    f.pozos = {{&pozos[0], 0, bandas_alrededor(h, 120, 240, 200)}};
    const QSize tamano(1000, 640);
    const QImage im = pintada(f, tamano);
    const MarcoPozos m = marco_pozos(f, tamano);
    const std::size_t k = mas_separados(h);
    const Entre e = entre(h, k);
    ASSERT_GT(e.total - e.tectonica, 600) << "the total band must lie apart";
    // A metre's height in pixels, so the points below keep clear of the curve.
    const double metro = (m.punto(0, 1).y() - m.punto(0, 0).y());
    ASSERT_GT(60 * metro, 10);

    const QPoint interior = m.punto(e.edad, e.tectonica + 60).toPoint();
    const QPoint exterior = m.punto(e.edad, e.tectonica + 180).toPoint();
    const QPoint fuera = m.punto(e.edad, e.tectonica + 300).toPoint();
    const Hacia en_interior = hacia(im.pixelColor(interior), kAzul);
    const Hacia en_exterior = hacia(im.pixelColor(exterior), kAzul);
    // Both bands towards the well's blue, all channels alike, neither opaque;
    // the inner one darker.
    EXPECT_GT(en_exterior.minimo, 0.05);
    EXPECT_LT(en_exterior.maximo - en_exterior.minimo, 0.05);
    EXPECT_LT(en_interior.maximo, 0.9);
    EXPECT_LT(en_interior.maximo - en_interior.minimo, 0.05);
    EXPECT_GT(en_interior.minimo, en_exterior.maximo + 0.05);
    EXPECT_EQ(im.pixelColor(fuera), QColor(Qt::white));

    // The total subsidence's band only with the total shown: without it,
    // one moved over the tectonic band leaves the picture as it was.
    FiguraPozos movida = f;
    for (std::size_t j = 0; j < h.pasos.size(); ++j)
        for (int q = 0; q < kNumPercentiles; ++q)
            movida.pozos[0].bandas[j].total[q] = h.pasos[j].subsidencia_tectonica + (q - 2) * 150;
    EXPECT_EQ(pintada(movida, tamano), im);
    movida.total = true;
    const QPoint en_movida = marco_pozos(movida, tamano).punto(e.edad, e.tectonica + 270).toPoint();
    EXPECT_NE(pintada(movida, tamano).pixelColor(en_movida), QColor(Qt::white));
    f.total = true;
    const QImage con_total = pintada(f, tamano);
    const MarcoPozos mt = marco_pozos(f, tamano);
    const Hacia total =
        hacia(con_total.pixelColor(mt.punto(e.edad, e.total - 50).toPoint()), kAzul);
    EXPECT_GT(total.minimo, 0.03);
    EXPECT_LT(total.maximo, en_exterior.minimo);
}

TEST(DibujoPozos, LasBandasDeTodosBajoLasCurvasDeTodos)
{
    const std::vector<Pozo> pozos =
        lee_pozos({kDir + "neuquen.csv", kDir + "golfo_san_jorge.csv"}, PeticionAjuste{});
    ASSERT_TRUE(pozos[0].ok() && pozos[1].ok());
    FiguraPozos sin;
    sin.pozos = {{&pozos[0], 0, {}}, {&pozos[1], 1, {}}};
    const QSize tamano(1000, 640);
    const MarcoPozos m = marco_pozos(sin, tamano);
    // The second well's bands, the listed last, cover the whole plot and no
    // more: the frame stays, and the first well's markers keep their pixels.
    FiguraPozos f = sin;
    f.pozos[1].bandas = bandas_alrededor(pozos[1].historia, 0, 0, 0);
    for (BandaPaso& b : f.pozos[1].bandas) {
        b.tectonica[0] = b.tectonica[1] = m.subsidencia_arriba;
        b.tectonica[3] = b.tectonica[4] = m.subsidencia_abajo;
    }
    const MarcoPozos con = marco_pozos(f, tamano);
    ASSERT_EQ(con.subsidencia_arriba, m.subsidencia_arriba);
    ASSERT_EQ(con.subsidencia_abajo, m.subsidencia_abajo);
    const QImage antes = pintada(sin, tamano);
    const QImage im = pintada(f, tamano);
    // (The legend's note on the bands narrows the plot: each picture by its
    // own frame; a marker's middle lies well inside it either way.)
    for (const PasoHistoria& paso : pozos[0].historia.pasos) {
        // The frame's own line is drawn over a marker on it (the present's).
        if (con.area.right() - con.punto(paso.edad, 0).x() < 3) continue;
        const QColor sin_bandas =
            antes.pixelColor(m.punto(paso.edad, paso.subsidencia_tectonica).toPoint());
        EXPECT_EQ(sin_bandas, kAzul) << paso.edad << " Ma";
        EXPECT_EQ(im.pixelColor(con.punto(paso.edad, paso.subsidencia_tectonica).toPoint()),
                  sin_bandas)
            << paso.edad << " Ma";
    }
    // The band is there, between the curves.
    const Entre e = entre(pozos[0].historia, 0);
    EXPECT_EQ(antes.pixelColor(m.punto(e.edad, e.tectonica - 150).toPoint()), QColor(Qt::white));
    EXPECT_NE(im.pixelColor(con.punto(e.edad, e.tectonica - 150).toPoint()), QColor(Qt::white));

    // The frame holds the bands: 6000 m below the deepest step.
    f.pozos[1].bandas = bandas_alrededor(pozos[1].historia, 3000, 6000, 0);
    double mas_honda = 0;
    for (const PasoHistoria& paso : pozos[1].historia.pasos)
        mas_honda = std::max(mas_honda, paso.subsidencia_tectonica);
    const MarcoPozos ancho = marco_pozos(f, tamano);
    EXPECT_GE(ancho.subsidencia_abajo, mas_honda + 6000);
    EXPECT_LE(ancho.subsidencia_arriba,
              -6000 + pozos[1].historia.pasos.front().subsidencia_tectonica);
}

TEST(DibujoPozos, BandasQueNoSonUnaPorPasoNoSeDibujan)
{
    const std::vector<Pozo> pozos = lee_pozos({kDir + "neuquen.csv"}, PeticionAjuste{});
    ASSERT_TRUE(pozos[0].ok());
    FiguraPozos sin;
    sin.pozos = {{&pozos[0], 0, {}}};
    FiguraPozos cortas = sin;
    cortas.pozos[0].bandas = bandas_alrededor(pozos[0].historia, 100, 200, 100);
    cortas.pozos[0].bandas.pop_back();
    const QSize tamano(1000, 640);
    EXPECT_EQ(pintada(sin, tamano), pintada(cortas, tamano));
    FiguraPozos enteras = sin;
    enteras.pozos[0].bandas = bandas_alrededor(pozos[0].historia, 100, 200, 100);
    EXPECT_NE(pintada(sin, tamano), pintada(enteras, tamano));
}

TEST(DibujoPozos, LaLeyendaDiceQueSonLasBandas)
{
    const std::vector<Pozo> pozos = lee_pozos({kDir + "neuquen.csv"}, PeticionAjuste{});
    ASSERT_TRUE(pozos[0].ok());
    const auto textos = [](const FiguraPozos& f) {
        const QSize tamano(1000, 640);
        prueba::Grabadora g(tamano);
        QPainter p(&g);
        pinta_pozos(f, p, tamano);
        p.end();
        QString todo;
        for (const prueba::TextoGrabado& t : g.textos())
            todo += t.texto + QStringLiteral("|");
        return todo;
    };
    FiguraPozos f;
    f.pozos = {{&pozos[0], 0, {}}};
    EXPECT_FALSE(textos(f).contains(QString::fromUtf8("Banda")));
    f.pozos[0].bandas = bandas_alrededor(pozos[0].historia, 100, 200, 100);
    EXPECT_TRUE(textos(f).contains(QString::fromUtf8("16–84")));
    EXPECT_FALSE(textos(f).contains(QString::fromUtf8("Banda total")));
    f.total = true;
    EXPECT_TRUE(textos(f).contains(QString::fromUtf8("Banda total")));
}

} // namespace
} // namespace tev
