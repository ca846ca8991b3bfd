// The column view as a whole: "Ver toda la columna" (key Home and its tool
// button), the wheel zooming about the pointer, the tool tip under the
// pointer and "Guardar columna entera…" beside "Guardar imagen…".

#include "main_window/ventana_de_prueba.h"
#include "menu_contextual.h"
#include "window_helpers/guardar_imagen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <map>
#include <string>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

// Left-edge indentation by lithology, twips: the column drawing's layout.
int sangria(const std::string& litologia)
{
    static const std::map<std::string, int> tabla{{"Areniscas", 0},    {"Pelitas", 300},
                                                  {"Arcosas", 150},    {"Calizas", -200},
                                                  {"Evaporitas", 500}, {"PORCENTUAL", 150}};
    return tabla.at(litologia);
}

// A point of the view's units as a pixel of its inner area, unrounded.
QPointF pixel(const VistaColumna& v, double x, double y)
{
    const Escala& e = v.escala();
    return {(x - e.ScaleLeft) * v.area().width() / e.ScaleWidth,
            (y - e.ScaleTop) * v.area().height() / e.ScaleHeight};
}

bool dentro(const VistaColumna& v, QPointF p)
{
    return p.x() >= 0 && p.y() >= 0 && p.x() <= v.area().width() && p.y() <= v.area().height();
}

// Everything of bed i inside the view: both boxes (present: 1000 + indent to
// 2000 twips across; decompacted: 3000 + indent to 4000 twips, 2000 twips
// further per bed), its base depth right of each box's base corner, its name
// at the decompacted box's left edge 200 m above the datum.
bool banco_entero_a_la_vista(const VistaColumna& v, const Store& s, int i)
{
    const QFontMetricsF fm{QFont()};
    const double d = sangria(s.litologia[i]);
    const double c = 2000.0 * (i - 1);
    const QPointF puntos[] = {
        pixel(v, 1000 + d, s.techo[i]),
        pixel(v, 2000, s.base[i]),
        pixel(v, c + 3000 + d, s.techo_descomp[i]),
        pixel(v, c + 4000, s.base_descomp[i]),
    };
    for (const QPointF& p : puntos)
        if (!dentro(v, p)) return false;
    const auto texto_dentro = [&](double x, double y, const std::string& t) {
        const QPointF p = pixel(v, x, y);
        const QString q = QString::fromStdString(t);
        return dentro(v, p) && dentro(v, p + QPointF(fm.horizontalAdvance(q), fm.height()));
    };
    const auto numero = [](float f) { return QString::number(f, 'g', 7).toStdString(); };
    return texto_dentro(2000, s.base[i], numero(s.base[i])) &&
           texto_dentro(c + 4000, s.base_descomp[i], numero(s.base_descomp[i])) &&
           texto_dentro(c + 3000 + d, -200, s.nombre[i]);
}

QColor color_de_banco(const Store& s, int i)
{
    return {s.color[i] & 0xFF, (s.color[i] >> 8) & 0xFF, (s.color[i] >> 16) & 0xFF};
}

struct VistaDelEjemplo : prueba::Ventana {
    VistaColumna* vista = f->Picture1;
    VistaDelEjemplo()
    {
        abre(kEjemplo);
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
    }
};

TEST(VerTodaLaColumna, ConInicioLosDoceBancosYSusRotulosEnLaVista)
{
    VistaDelEjemplo v;
    ASSERT_EQ(v.s->n_bancos, 12);
    // At the start-up scale the later decompacted columns lie off the view.
    int a_la_vista = 0;
    for (int i = 1; i <= 12; ++i)
        a_la_vista += banco_entero_a_la_vista(*v.vista, *v.s, i);
    EXPECT_LT(a_la_vista, 12);

    QTest::keyClick(v.f.get(), Qt::Key_Home);
    for (int i = 1; i <= 12; ++i) {
        EXPECT_TRUE(banco_entero_a_la_vista(*v.vista, *v.s, i)) << "banco " << i;
        // Drawn at that scale: the middle of each decompacted box in its colour.
        const double c = 2000.0 * (i - 1);
        const QPointF m =
            pixel(*v.vista, c + 3750, (v.s->techo_descomp[i] + v.s->base_descomp[i]) / 2);
        EXPECT_EQ(v.vista->imagen().pixelColor(m.toPoint()), color_de_banco(*v.s, i)) << i;
    }

    // The tool button does the same from any scale.
    const Escala toda = v.vista->escala();
    v.vista->escala_de_arranque();
    v.f->draw();
    QTest::mouseClick(v.f->ver_toda_btn, Qt::LeftButton);
    EXPECT_EQ(v.vista->escala().ScaleLeft, toda.ScaleLeft);
    EXPECT_EQ(v.vista->escala().ScaleTop, toda.ScaleTop);
    EXPECT_EQ(v.vista->escala().ScaleWidth, toda.ScaleWidth);
    EXPECT_EQ(v.vista->escala().ScaleHeight, toda.ScaleHeight);
    EXPECT_EQ(v.f->ver_toda_btn->toolTip(), "Ver toda la columna (Inicio)");
}

QPointF en_unidades(const VistaColumna& v, QPointF en_widget)
{
    const Escala& e = v.escala();
    const QPointF px = en_widget - v.contentsRect().topLeft();
    return {e.ScaleLeft + px.x() * e.ScaleWidth / v.area().width(),
            e.ScaleTop + px.y() * e.ScaleHeight / v.area().height()};
}

void rueda(VistaColumna* v, QPoint donde, int octavos)
{
    QWheelEvent e(QPointF(donde), QPointF(v->mapToGlobal(donde)), QPoint(), QPoint(0, octavos),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v, &e);
}

TEST(VistaColumna, LaRuedaAcercaYAlejaSinMoverElPuntoBajoElPuntero)
{
    VistaDelEjemplo v;
    const QPoint donde = v.vista->contentsRect().topLeft() + QPoint(230, 140);
    const QPointF antes = en_unidades(*v.vista, donde);
    const Escala e0 = v.vista->escala();

    rueda(v.vista, donde, 120); // one step forward: closer, by 1.25
    const Escala e1 = v.vista->escala();
    EXPECT_NEAR(e1.ScaleWidth, e0.ScaleWidth / 1.25, e0.ScaleWidth * 1e-6);
    EXPECT_NEAR(e1.ScaleHeight, e0.ScaleHeight / 1.25, e0.ScaleHeight * 1e-6);
    const QPointF despues = en_unidades(*v.vista, donde);
    EXPECT_NEAR(despues.x(), antes.x(), e0.ScaleWidth * 1e-5);
    EXPECT_NEAR(despues.y(), antes.y(), e0.ScaleHeight * 1e-5);

    // Two steps back from elsewhere: that point stays, the view is farther.
    const QPoint otro = v.vista->contentsRect().topLeft() + QPoint(600, 400);
    const QPointF bajo_otro = en_unidades(*v.vista, otro);
    rueda(v.vista, otro, -240);
    EXPECT_NEAR(v.vista->escala().ScaleWidth, e1.ScaleWidth * 1.5625, e0.ScaleWidth * 1e-5);
    EXPECT_NEAR(en_unidades(*v.vista, otro).x(), bajo_otro.x(), e0.ScaleWidth * 1e-5);
    EXPECT_NEAR(en_unidades(*v.vista, otro).y(), bajo_otro.y(), e0.ScaleHeight * 1e-5);
    // And drawn at the new scale: bed 12 (yellow, 0..85 m) in the present column.
    const QPointF amarillo = pixel(*v.vista, 1500, 40);
    EXPECT_EQ(v.vista->imagen().pixelColor(amarillo.toPoint()), QColor(255, 255, 0));
}

QString pista_en(QWidget* w, QPoint p)
{
    QHelpEvent e(QEvent::ToolTip, p, w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST(VistaColumna, LaPistaDiceLaProfundidadYElBanco)
{
    VistaDelEjemplo v;
    // Start-up scale: 15 m a pixel down, depth 0 at pixel row 1000 / 15; x
    // 1500 twips (pixel 100) is inside the present-day column. Row 88 is
    // -1000 + 88 × 15 = 320 m, in bed 10 (240..410 m).
    const QPoint esquina = v.vista->contentsRect().topLeft();
    EXPECT_EQ(pista_en(v.vista, esquina + QPoint(100, 88)),
              QString::fromUtf8("Profundidad: 320 m\nBanco 10: Arcosas del Collón Curá"));
    // The decompacted column of bed 1 (3150..4000 twips, 0..541 m).
    EXPECT_EQ(pista_en(v.vista, esquina + QPoint(240, 80)),
              QString::fromUtf8("Profundidad: 200 m\nBanco 1 descompactado: Arcosas de Lotena"));
    // Between the columns only the depth.
    EXPECT_EQ(pista_en(v.vista, esquina + QPoint(170, 80)), QString("Profundidad: 200 m"));
    QToolTip::hideText();
}

TEST(VistaColumna, GuardarColumnaEnteraDesdeSuMenu)
{
    VistaDelEjemplo v;
    QTemporaryDir dir;
    const QString ruta = dir.filePath("entera.png");
    v.vista->guardar_imagen->pide_ruta = [&ruta] { return ruta; };
    EXPECT_EQ(
        prueba::elige_en_menu_contextual(v.vista, QPoint(400, 300),
                                         QString::fromUtf8("Guardar columna entera…")),
        (QStringList{QString::fromUtf8("Guardar imagen…"),
                     QString::fromUtf8("Guardar columna entera…"), "", "Ver toda la columna"}));
    const QImage img(ruta);
    ASSERT_FALSE(img.isNull());
    // Not the view: a picture of its own size, with all twelve decompacted
    // columns across, so wider than the view.
    EXPECT_GT(img.width(), v.vista->area().width());
    // The view itself did not move.
    EXPECT_EQ(v.vista->escala().ScaleWidth, escala_de_arranque_para(v.vista->area()).ScaleWidth);
}

} // namespace
} // namespace tev
