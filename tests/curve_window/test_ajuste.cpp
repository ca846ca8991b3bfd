// "Ajustar a la columna" in the curve window's context menu, and the tool tip
// that tells the age and depth under the pointer.

#include "curve_window/form4.h"

#include "main_window/ventana_de_prueba.h"
#include "menu_contextual.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

// The deepest point of the three curves: each runs down the beds from the
// top one, adding that bed's value, as the window plots them.
double lo_mas_hondo(const Store& s)
{
    double hondo = 0;
    double suma[3] = {0, 0, 0};
    for (int i = s.n_bancos; i >= 1; --i) {
        suma[0] += s.base_descomp[i];
        suma[1] += s.correccion_carga[i];
        suma[2] += s.tevarro_tectonica[i];
        hondo = std::max({hondo, suma[0], suma[1], suma[2]});
    }
    return hondo;
}

QString numero(double v, int decimales)
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(v, 'f', decimales);
}

TEST(AjustarALaColumna, LasMayoresEscalasEnQueCabeElEjemplo)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    Form4* c = v.f->curvas_ventana();
    ASSERT_NE(c, nullptr);
    // The time axis is 6000 twips long: 163 Ma fit at 6000 / 163 = 36.8, so
    // 36 twips per Ma (37 would end at 960 + 37 × 163 = 6991 > 6960). The
    // depth axis is 4680 twips: at v twips per 100 m the deepest point lies
    // v / 100 × hondo twips down, so v = 468000 / hondo, rounded down.
    const double hondo = lo_mas_hondo(*v.s);
    ASSERT_GT(hondo, 0);
    const int profundidad = static_cast<int>(std::floor(468000.0 / hondo));
    ASSERT_GT((profundidad + 1) / 100.0 * hondo, 4680.0);

    EXPECT_EQ(prueba::elige_en_menu_contextual(c, QPoint(300, 200), "Ajustar a la columna"),
              (QStringList{QString::fromUtf8("Guardar imagen…"), "", "Ajustar a la columna"}));
    EXPECT_EQ(c->HScroll1->value(), 36);
    EXPECT_EQ(c->Text1->text(), "36");
    EXPECT_EQ(c->VScroll1->value(), profundidad);
    EXPECT_EQ(c->Text2->text(), QString::number(profundidad));
    // Plotted at those scales: the first time tick reads 1000 / 36 Ma, the
    // first depth tick 100 / v km.
    EXPECT_EQ(c->Label2->text(), numero(1000.0 / 36, 1));
    EXPECT_EQ(c->Label7->text(), numero(100.0 / profundidad, 2));

    // The red curve (decompaction, the deepest) ends at 163 Ma and at the
    // whole decompacted thickness, inside both axes and near their ends.
    const QImage img = c->grab().toImage();
    int x_max = -1;
    int y_max = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == QColor(250, 0, 0)) {
                x_max = std::max(x, x_max);
                y_max = std::max(y, y_max);
            }
    EXPECT_NEAR(x_max, (960 + 36 * 163) / 15.0, 1.5);
    EXPECT_LE(x_max, 6960 / 15);
    EXPECT_NEAR(y_max, (600 + profundidad / 100.0 * hondo) / 15.0, 1.5);
    EXPECT_LE(y_max, 5280 / 15);
}

QString pista_en(QWidget* w, QPoint p)
{
    // Whatever tool tip was up goes first (it fades out).
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    QHelpEvent e(QEvent::ToolTip, p, w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST(Form4, LaPistaDiceEdadYProfundidadDentroDeLosEjes)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    Form4* c = v.f->curvas_ventana();
    ASSERT_NE(c, nullptr);
    // Start-up scales: 100 twips per Ma, 1 twip per metre, origin at (960,
    // 600) twips. Pixel (164, 140) is (2460, 2100) twips: 15 Ma and 1500 m.
    // A pixel is 0.15 Ma (one decimal) and 15 m (none).
    EXPECT_EQ(pista_en(c, QPoint(164, 140)),
              QString("Edad: %1 Ma\nProfundidad: %2 m").arg(numero(15, 1), numero(1500, 0)));
    QToolTip::hideText();
    // Outside the axes, over the legend: nothing.
    EXPECT_EQ(pista_en(c, QPoint(600, 200)), QString());
    QToolTip::hideText();
}

} // namespace
} // namespace tev
