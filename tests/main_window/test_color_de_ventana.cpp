// The main window's client area, the column view and the curve window show
// the system window colour: given a palette whose window colour (Base) and
// control colour (Window) differ, each shows the first.

#include "curve_window/form4.h"
#include "main_window/form1.h"
#include "main_window/ventana_de_prueba.h"
#include "main_window/vista_columna.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

namespace tev {
namespace {

const QColor kColorDeVentana(250, 236, 190); // a cream no other part uses
const QColor kColorDeControl(90, 96, 110);

QPalette paleta_de_prueba()
{
    QPalette p;
    p.setColor(QPalette::Base, kColorDeVentana);
    p.setColor(QPalette::Window, kColorDeControl);
    return p;
}

TEST(ColorDeVentana, ClienteYVistaDeLaVentanaPrincipal)
{
    prueba::Ventana v;
    v.f->setPalette(paleta_de_prueba());
    v.menu("dibuja_mnu"); // the view clears to the colour it has now
    const QImage cliente = v.f->centralWidget()->grab().toImage();
    // Below the five tool buttons (they end at y = 161), left of the view.
    EXPECT_EQ(cliente.pixelColor(10, 300), kColorDeVentana);
    EXPECT_EQ(cliente.pixelColor(20, 480), kColorDeVentana);
    // Inside the view, far from the column and its datum line.
    EXPECT_EQ(cliente.pixelColor(32 + 400, 400), kColorDeVentana);
    EXPECT_EQ(v.f->Picture1->imagen().pixelColor(600, 300), kColorDeVentana);
    // The status bar is a control and keeps the control colour.
    const QRect barra = v.f->StatusBar1->geometry();
    EXPECT_EQ(cliente.pixelColor(barra.center()), kColorDeControl);
}

TEST(ColorDeVentana, VentanaDeCurvas)
{
    Store s;
    valores_de_arranque(s);
    QPointer<Form4> w;
    muestra_curvas(w, s);
    ASSERT_FALSE(w.isNull());
    w->setPalette(paleta_de_prueba());
    const QImage img = w->grab().toImage();
    // Between the axes, away from the legend frame and the captions.
    EXPECT_EQ(img.pixelColor(300, 300), kColorDeVentana);
    EXPECT_EQ(img.pixelColor(200, 150), kColorDeVentana);
    // The captions are opaque and in the same colour.
    const QImage etiqueta = w->Label1->grab().toImage();
    EXPECT_EQ(etiqueta.pixelColor(0, 0), kColorDeVentana);
    delete w.data();
}

} // namespace
} // namespace tev
