// The stretching figure at any size the window lets itself be made: every
// legend entry whole, no text on another (the grey curves' labels among
// them), every text inside the figure. What is drawn is read back from a
// paint device that keeps the texts, not from the drawing's own layout.

#include "drawing/dibujo_estiramiento.h"

#include "compute/historia.h"
#include "drawing/grabadora.h"
#include "drawing/mezcla_de_colores.h"
#include "model/store.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLocale>
#include <QPainter>

#include <cmath>
#include <memory>

namespace tev {
namespace {

FiguraEstiramiento figura_del_ejemplo()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    const LecturaColumna l = lee_archivo(TEVARRO_SOURCE_DIR "/examples/neuquen.tev");
    EXPECT_TRUE(l.ok) << l.error;
    carga_lectura(*s, l);
    const ResultadoHistoria h = calcula_historia(*s);
    EXPECT_TRUE(h.ok()) << h.error;
    FiguraEstiramiento f;
    f.puntos = puntos_de_historia(h.historia);
    f.ajuste = ajusta_estiramiento(f.puntos, f.peticion);
    EXPECT_TRUE(f.ajuste.ok());
    return f;
}

TEST(DibujoEstiramiento, TextosEnterosYNingunoSobreOtro)
{
    const FiguraEstiramiento f = figura_del_ejemplo();
    // The window's smallest figure, a small one and the picture's size.
    for (const QSize tamano : {QSize(420, 300), QSize(600, 400), QSize(900, 600)}) {
        prueba::Grabadora g(tamano);
        {
            QPainter p(&g);
            pinta_estiramiento(f, p, tamano);
        }
        // A line of text in two fonts (the Greek letters come from another)
        // is recorded in pieces: joined again, piece after piece on its line.
        std::vector<prueba::TextoGrabado> t;
        for (const prueba::TextoGrabado& x : g.textos()) {
            if (!t.empty() && t.back().caja.top() == x.caja.top() &&
                std::abs(t.back().caja.right() - x.caja.left()) < 1) {
                t.back().texto += x.texto;
                t.back().caja |= x.caja;
            } else {
                t.push_back(x);
            }
        }
        const auto dibujado = [&t](const QString& texto) {
            return std::any_of(t.begin(), t.end(), [&texto](const prueba::TextoGrabado& x) {
                return x.texto == texto;
            });
        };
        const std::string donde =
            std::to_string(tamano.width()) + "x" + std::to_string(tamano.height());
        EXPECT_TRUE(dibujado(QString::fromUtf8("Subsidencia tectónica"))) << donde;
        EXPECT_TRUE(dibujado(QString::fromUtf8("Otros β, el mismo rift"))) << donde;
        EXPECT_TRUE(dibujado(QString::fromUtf8("Resultado en un límite"))) << donde;
        const QRectF figura(QPointF(0, 0), QSizeF(tamano));
        for (std::size_t i = 0; i < t.size(); ++i) {
            EXPECT_FALSE(t[i].texto.contains(QChar(0x2026)))
                << donde << ": " << t[i].texto.toStdString();
            EXPECT_TRUE(figura.contains(t[i].caja)) << donde << ": " << t[i].texto.toStdString();
            for (std::size_t j = i + 1; j < t.size(); ++j)
                EXPECT_FALSE(t[i].caja.intersects(t[j].caja))
                    << donde << ": «" << t[i].texto.toStdString() << "» y «"
                    << t[j].texto.toStdString() << "»";
        }
    }
}

using prueba::a_traves;
using prueba::parecido;

TEST(DibujoEstiramiento, LaBandaDeCadaPuntoSegunElOrdenDeLaHistoria)
{
    // Three points in the history's order, the present first; each band's
    // half-widths (2.5-97.5 %, 16-84 %) grow with age: 5/2, 20/10, 40/20 m.
    FiguraEstiramiento f;
    f.puntos = {{0, 100}, {10, 60}, {20, 20}};
    f.ajuste.error = "Sin ajuste.";
    const double exterior[] = {5, 20, 40}, interior[] = {2, 10, 20};
    for (std::size_t k = 0; k < 3; ++k) {
        BandaPaso b;
        const double s = f.puntos[k].subsidencia;
        const double d[] = {-exterior[k], -interior[k], 0, interior[k], exterior[k]};
        for (int j = 0; j < kNumPercentiles; ++j)
            b.tectonica[j] = s + d[j];
        f.bandas.push_back(b);
    }
    const QSize tamano(900, 600);
    const MarcoEstiramiento m = marco_estiramiento(f, tamano);
    // The band's top, -20 m at 20 Ma, is inside the frame.
    EXPECT_LE(m.profundidad_arriba, -20);
    QImage img(tamano, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        pinta_estiramiento(f, p, tamano);
    }
    const QColor blanco(255, 255, 255);
    const auto color = [&](double edad, double prof) {
        return img.pixelColor(m.punto(edad, prof).toPoint());
    };
    // At 10 Ma: 60 m, the band 40..80 m, its darker part 50..70 m.
    EXPECT_TRUE(parecido(color(10, 65), a_traves(blanco, kColorBandaPuntos, 2)));
    EXPECT_TRUE(parecido(color(10, 75), a_traves(blanco, kColorBandaPuntos, 1)));
    EXPECT_EQ(color(10, 85), blanco);
    // At 18 Ma, 0.8 of the way to the oldest point: 28 m, the band
    // -8..64 m, its darker part 10..46 m.
    EXPECT_TRUE(parecido(color(18, 55), a_traves(blanco, kColorBandaPuntos, 1)));
    EXPECT_TRUE(parecido(color(18, 0), a_traves(blanco, kColorBandaPuntos, 1)));
    EXPECT_EQ(color(18, 70), blanco);
    EXPECT_EQ(color(18, -14), blanco);
    // At 2 Ma: 92 m, the band 83.4..100.6 m.
    EXPECT_EQ(color(2, 80), blanco);

    const auto leyenda = leyenda_del_estiramiento(f);
    EXPECT_EQ(leyenda, (std::vector<QString>{QString::fromUtf8("Subsidencia tectónica"),
                                             QString::fromUtf8("Banda 2,5–97,5 %"),
                                             QString::fromUtf8("Banda 16–84 %")}));
    // A band per point or none: bands of another history are not drawn.
    f.bandas.pop_back();
    EXPECT_EQ(leyenda_del_estiramiento(f).size(), 1u);
}

TEST(DibujoEstiramiento, BetaYLaEdadDelRiftConSuIntervalo)
{
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    FiguraEstiramiento f;
    f.puntos = {{0, 100}, {10, 60}};
    f.ajuste.beta = 1.82;
    f.ajuste.edad_rift = 150;
    f.ajuste.rms = 3.25;
    const std::vector<QString> sin = leyenda_del_estiramiento(f);
    ASSERT_GE(sin.size(), 3u);
    EXPECT_EQ(sin[1], QString::fromUtf8("Modelo: β = 1,820"));
    EXPECT_EQ(sin[2], QString::fromUtf8("Rift: 150,00 Ma"));
    f.banda_beta.beta[0] = 1.65;
    f.banda_beta.beta[1] = 1.8;
    f.banda_beta.beta[2] = 2.01;
    f.banda_beta.edad_rift[0] = 148.2;
    f.banda_beta.edad_rift[1] = 150;
    f.banda_beta.edad_rift[2] = 151.3;
    const std::vector<QString> con = leyenda_del_estiramiento(f);
    EXPECT_EQ(con[1], QString::fromUtf8("Modelo: β = 1,820 (1,650–2,010)"));
    EXPECT_EQ(con[2], QString::fromUtf8("Rift: 150,00 Ma (148,20–151,30)"));
    // The refits failed: no interval.
    f.banda_beta.error = "Cálculo cancelado.";
    EXPECT_EQ(leyenda_del_estiramiento(f)[1], QString::fromUtf8("Modelo: β = 1,820"));
    QLocale::setDefault(antes);
}

} // namespace
} // namespace tev
