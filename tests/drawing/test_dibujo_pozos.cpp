// Several wells on one chart: each well's colour where its steps lie, by the
// frame's edges, none of a hidden well's, and a legend entry per well.

#include "drawing/dibujo_pozos.h"

#include "drawing/grabadora.h"
#include "project_file/pozos.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLocale>
#include <QPainter>

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

} // namespace
} // namespace tev
