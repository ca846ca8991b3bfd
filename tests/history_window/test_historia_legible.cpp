// The burial history read as a user reads it: the age and depth under the
// pointer, every legend text whole at any size the window takes (or cut with
// its whole text in the tool tip), and an empty column's empty diagram.

#include "history_window/form5.h"

#include "compute/historia.h"
#include "drawing/dibujo_historia.h"
#include "drawing/grabadora.h"
#include "main_window/ventana_de_prueba.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QTest>
#include <QToolTip>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";
const QString kTectonica = QString::fromUtf8("Subsidencia tectónica");
const QString kTotal = QString::fromUtf8("Subsidencia total");

QString pista_en(QWidget* w, QPoint p)
{
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    QHelpEvent e(QEvent::ToolTip, p, w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QString numero(double v, int decimales)
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(v, 'f', decimales);
}

std::vector<prueba::TextoGrabado> textos_de(const Historia& h, const Store& s, QSize tamano)
{
    prueba::Grabadora g(tamano);
    {
        QPainter p(&g);
        pinta_historia(h, s, p, tamano);
    }
    return g.textos();
}

TEST(HistoriaLegible, LaPistaDiceEdadYProfundidad)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.menu("historia_mnu");
    Form5* h = v.f->historia_ventana();
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->size(), QSize(900, 600));
    // At 900 x 600 the example spans ages 180..0 Ma across x = 78..656 and
    // depths 0..2400 m down y = 52..584: (367, 318) is half-way both ways,
    // 90 Ma and 1200 m. A pixel is 0.31 Ma (one decimal) and 4.5 m (none).
    EXPECT_EQ(pista_en(h, QPoint(367, 318)),
              QString("Edad: %1 Ma\nProfundidad: %2 m").arg(numero(90, 1), numero(1200, 0)));
    // Above the diagram, among the tick captions: nothing.
    EXPECT_EQ(pista_en(h, QPoint(367, 20)), QString());
    QToolTip::hideText();
}

TEST(HistoriaLegible, LaLeyendaEnteraDesdeElTamanoMinimo)
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    {
        prueba::Ventana v;
        v.abre(kEjemplo);
        *s = *v.s;
    }
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok());
    for (const QSize tamano : {kTamanoMinimoHistoria, QSize(560, 400), QSize(700, 480),
                               QSize(900, 600), QSize(1600, 1000)}) {
        const auto textos = textos_de(r.historia, *s, tamano);
        int curvas = 0;
        for (const auto& t : textos) {
            curvas += t.texto == kTectonica || t.texto == kTotal;
            EXPECT_FALSE(t.texto.endsWith(QString::fromUtf8("…")))
                << t.texto.toStdString() << " a " << tamano.width() << "x" << tamano.height();
            EXPECT_TRUE(QRectF(QPointF(0, 0), QSizeF(tamano)).contains(t.caja))
                << t.texto.toStdString();
        }
        EXPECT_EQ(curvas, 2) << tamano.width();
    }
    // The window goes no smaller than that.
    Form5 f;
    f.resize(200, 150);
    EXPECT_EQ(f.size(), kTamanoMinimoHistoria);
}

TEST(HistoriaLegible, UnNombreLargoSeAcortaConSuPista)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    const std::string largo = "Arenas del Pampeano, con un nombre que no cabe en la leyenda";
    v.s->nombre[12] = largo;
    v.menu("historia_mnu");
    Form5* h = v.f->historia_ventana();
    ASSERT_NE(h, nullptr);
    h->resize(kTamanoMinimoHistoria);
    // The legend's third line (after both curves) is bed 12, its middle at
    // 52 + 4 + 9 + 2 × 18 = 101; the legend ends 14 px from the right edge.
    const QString entero = QString::fromStdString("12 " + largo);
    bool cortado = false;
    for (const auto& t : textos_de(h->resultado().historia, *v.s, h->size()))
        cortado |= t.texto.startsWith("12 Arenas") && t.texto.endsWith(QString::fromUtf8("…"));
    EXPECT_TRUE(cortado);
    EXPECT_EQ(pista_en(h, QPoint(h->width() - 30, 101)), entero);
    QToolTip::hideText();
}

TEST(HistoriaLegible, ColumnaVaciaSinEjesYConSuFrase)
{
    Store s;
    valores_de_arranque(s);
    const ResultadoHistoria r = calcula_historia(s);
    ASSERT_TRUE(r.ok());
    ASSERT_TRUE(r.historia.pasos.empty());
    for (const QSize tamano : {kTamanoMinimoHistoria, kTamanoHistoria}) {
        const auto textos = textos_de(r.historia, s, tamano);
        // One sentence and nothing else: no tick captions, no axis titles.
        QString todo;
        for (const auto& t : textos)
            todo += (todo.isEmpty() ? "" : " ") + t.texto;
        EXPECT_EQ(todo, QString::fromUtf8("La columna no tiene bancos: no hay nada que dibujar."));
    }

    // The window of a new column shows it, and tells nothing under the pointer.
    prueba::Ventana v;
    v.menu("historia_mnu");
    Form5* h = v.f->historia_ventana();
    ASSERT_NE(h, nullptr);
    // The sentence in the middle of the frame (x 78..656, y 52..584).
    const QImage img = h->grab().toImage();
    int oscuros = 0;
    for (int y = 250; y < 390; ++y)
        for (int x = 100; x < 630; ++x)
            oscuros += img.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(oscuros, 100);
    EXPECT_EQ(pista_en(h, QPoint(400, 300)), QString());
}

} // namespace
} // namespace tev
